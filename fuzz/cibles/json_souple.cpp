// Reads arbitrary text with the lenient reader. Whatever it accepts must
// write out as compact JSON that reads back and writes out to the very same
// text; walking the tree must never fault.

#include "json/souple/valeur_souple.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tq::json_souple;

namespace {

void Verifier(bool condition)
{
    if (!condition)
        std::abort();
}

std::u16string Json(const TValeurSouple& valeur)
{
    std::u16string json;
    CompactJson(valeur, json);
    return json;
}

void Parcourir(const TValeurSouple& valeur)
{
    std::u16string texte;
    AsText(valeur, texte);
    const std::u16string json = Json(valeur);
    Verifier(valeur.Genre() == TGenreSouple::Texte ? texte == valeur.Texte() : texte == json);
    const auto elements = EnumerateElements(valeur);
    Verifier(elements.size() == valeur.Taille());
    for (const TValeurSouple& element : elements)
        Parcourir(element);
    if (valeur.Genre() != TGenreSouple::Objet)
        Verifier(MemberByName(valeur, u"resultats") == nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* octets, std::size_t taille)
{
    std::u16string texte(taille / 2, u'\0');
    for (std::size_t i = 0; i < texte.size(); ++i)
        texte[i] = static_cast<char16_t>(octets[2 * i] | (octets[2 * i + 1] << 8));
    const auto document = ParseLenientText(texte);
    if (!document)
        return 0;
    Parcourir(document->Racine());
    const std::u16string premier = Json(document->Racine());
    const auto relu = ParseLenientText(premier);
    Verifier(relu.has_value());
    Verifier(Json(relu->Racine()) == premier);
    return 0;
}
