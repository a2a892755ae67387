#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tq {

// One centre of the directory. A new entry is in the zero state: integers 0,
// texts empty, `Modification` false.
struct TEnr_Centre {
    std::int32_t ID = 0;
    std::int32_t codeMorva = 0;
    std::u16string codeTq;
    std::int32_t zone = 0;
    std::u16string enseigne;
    std::u16string societe;
    std::u16string adresse1;
    std::u16string adresse2;
    std::u16string codePostal;
    std::u16string ville;
    std::u16string pays;
    std::u16string responsable;
    std::u16string siren;
    std::u16string numeroTva;
    std::u16string adresseIp;
    std::u16string dateCreation;
    // Kept for the record's shape; nothing sets or reads it.
    bool Modification = false;

    bool operator==(const TEnr_Centre&) const = default;
};

// The label of each entry as the tree views show it: its trade name, in
// directory order, an empty label for an empty name.
std::vector<std::u16string> LibellesCentres(std::span<const TEnr_Centre> centres);

} // namespace tq
