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

// Gives `creer` a fresh temporary name (NomTemporaire) in the folder of
// `cible` until it takes one: a name that another file already holds makes
// `creer` return `nomPris`, and the next name is tried, 64 names at most.
// Returns what the last call of `creer` returned (its failure, or its
// success).
template <class TCode, class TCreer>
TCode EssayerNomsTemporaires(const std::filesystem::path& cible, TCode nomPris, TCreer creer)
{
    constexpr int EssaisMax = 64;
    TCode code = nomPris;
    for (int essai = 0; essai < EssaisMax && code == nomPris; ++essai)
        code = creer(cible.parent_path() / NomTemporaire(cible.filename()));
    return code;
}

} // namespace tq
