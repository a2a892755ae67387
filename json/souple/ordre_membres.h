#pragma once

// Internal to the lenient reader: the order of an object's members, in which
// the reader stores them and the search by name finds them.

#include "json/souple/arbre_souple.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tq::json_souple {

// A member as the reader has read it, before its object is complete.
struct TMembreEnCours {
    TNomMembre nom;
    TValeurSouple valeur;
};

// Member order: larger hash first, then smaller name first (a prefix before
// the longer name).
inline bool AvantDansObjet(std::uint32_t hachageA, std::u16string_view nomA, std::uint32_t hachageB,
                           std::u16string_view nomB) noexcept
{
    if (hachageA != hachageB)
        return hachageA > hachageB;
    return nomA < nomB;
}

// Moves the `lus` members of one object into the arena in member order,
// names first, then values, and gives the object; of a name given twice, the
// value read last. `rangs` is working room kept from one object to the next.
TValeurSouple RangerMembres(const TMembreEnCours* membres, std::size_t lus, TArene& arene,
                            std::vector<std::uint64_t>& cles);

} // namespace tq::json_souple
