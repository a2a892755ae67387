#pragma once

#include <filesystem>

namespace tq {

// The path as failure messages show it: absolute, with "." and ".." resolved.
std::filesystem::path CheminComplet(const std::filesystem::path& chemin);

// A hidden name for the temporary file beside the target `nomCible` (a file
// name, without folder) that tells which file it was meant to be, cut short so
// that it stays a valid name however long the target's is, and never in the
// middle of a character.
std::filesystem::path NomTemporaire(const std::filesystem::path& nomCible);

} // namespace tq
