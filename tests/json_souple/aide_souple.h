#pragma once

#include "json/souple/valeur_souple.h"

#include <optional>
#include <string>
#include <string_view>

namespace tq::json_souple::essai {

// The value's text and its compact JSON, each on its own.
inline std::u16string TexteDe(const TValeurSouple& valeur)
{
    std::u16string texte;
    AsText(valeur, texte);
    return texte;
}
inline std::u16string JsonDe(const TValeurSouple& valeur)
{
    std::u16string json;
    CompactJson(valeur, json);
    return json;
}

// The compact JSON of what the text reads as, or nothing when it is rejected.
inline std::optional<std::u16string> Compact(std::u16string_view texte)
{
    const auto document = ParseLenientText(texte);
    if (!document) {
        return std::nullopt;
    }
    return JsonDe(document->Racine());
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
