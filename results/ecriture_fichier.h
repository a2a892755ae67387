#pragma once

#include <filesystem>
#include <string_view>

namespace tq {

// Puts `octets` on disk at `chemin`, whole or not at all: they are written to
// a temporary file in the same folder, flushed to the disk, then renamed over
// the path, so a file already there keeps its content until the new one
// replaces it, and a failure leaves neither a partial file nor the temporary
// one. A file that is replaced keeps its permissions. A symbolic link at the
// path stays a link: the file it names is replaced.
//
// Throws ErreurCreationFichier, naming the full path, when the file cannot be
// created (missing folder, access refused, a folder or a device at the path,
// read-only medium, name too long, ...), and ErreurEcritureFlux when writing
// fails part-way (a full disk).
void EcrireFichierEntier(const std::filesystem::path& chemin, std::string_view octets);

} // namespace tq
