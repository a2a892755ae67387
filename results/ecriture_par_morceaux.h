#pragma once

#include <cstddef>
#include <string_view>

#include "results/erreurs_resultats.h"

namespace tq {

// Writes every byte through `ecrire`, in pieces of at most 1 GiB so that no
// count has to fit the system's 32-bit sizes. `ecrire` writes from the start
// of the piece it is given and returns how many bytes it wrote; 0 means that
// writing failed (a full disk), which throws ErreurEcritureFlux.
template <typename TEcrire> void EcrireParMorceaux(std::string_view octets, TEcrire ecrire)
{
    constexpr std::size_t MorceauMaximal = std::size_t { 1 } << 30;
    std::size_t ecrits = 0;
    while (ecrits < octets.size()) {
        const std::size_t n = ecrire(octets.substr(ecrits, MorceauMaximal));
        if (n == 0)
            throw ErreurEcritureFlux();
        ecrits += n;
    }
}

} // namespace tq
