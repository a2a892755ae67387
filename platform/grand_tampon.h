#pragma once

#include <cstddef>
#include <string>

namespace tq {

// Makes room for `taille` bytes in `tampon` in one allocation. For a buffer of
// several megabytes it also asks the system for huge pages: writing fresh
// memory otherwise costs a page fault every 4 KiB, more than the work that
// fills it. Changes nothing where the system does not offer them.
void ReserverGrandTampon(std::string& tampon, std::size_t taille);

} // namespace tq
