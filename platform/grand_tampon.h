#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace tq {

// Makes room for `taille` bytes in `tampon` in one allocation. For a buffer of
// several megabytes it also asks the system for huge pages: writing fresh
// memory otherwise costs a page fault every 4 KiB, more than the work that
// fills it. Changes nothing where the system does not offer them.
void ReserverGrandTampon(std::string& tampon, std::size_t taille);

// The same for a text of `unites` code units.
void ReserverGrandTexte(std::u16string& texte, std::size_t unites);

// A buffer of `taille` bytes, left unfilled, on huge pages when it is large
// enough for them to pay.
std::unique_ptr<char[]> NouveauGrandTampon(std::size_t taille);

// Asks for huge pages over the 2 MiB pages that lie wholly inside the memory,
// for a buffer about to be filled; nothing for one too small to hold such a
// page, nor where the system does not offer them.
void ConseillerGrandesPages(void* debut, std::size_t octets);

// Brings in at once the pages wholly inside memory about to be written: one
// call to the system instead of a page fault at the first write of every
// 4 KiB, which on a small answer costs more than the work itself. True when
// the system did it; false where it cannot (the memory then comes page by
// page on first write, as usual).
bool PreparerPages(void* debut, std::size_t octets);

} // namespace tq
