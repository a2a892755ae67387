#pragma once

#include "json/souple/valeur_souple.h"

#include <optional>
#include <string>
#include <string_view>

namespace tq::json_souple::essai {

// The compact JSON of what the text reads as, or nothing when it is rejected.
inline std::optional<std::u16string> Compact(std::u16string_view texte)
{
    const auto document = ParseLenientText(texte);
    if (!document) {
        return std::nullopt;
    }
    return CompactJson(document->Racine());
}

// `n` times `ouvrant`, then `milieu`, then `n` times `fermant`.
inline std::u16string Imbrique(std::size_t n, std::u16string_view ouvrant, std::u16string_view milieu,
                               std::u16string_view fermant)
{
    std::u16string texte;
    for (std::size_t i = 0; i < n; ++i) {
        texte += ouvrant;
    }
    texte += milieu;
    for (std::size_t i = 0; i < n; ++i) {
        texte += fermant;
    }
    return texte;
}

} // namespace tq::json_souple::essai
