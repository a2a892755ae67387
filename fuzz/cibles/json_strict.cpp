// Arbitrary bytes through the strict reader: whatever parses must be written,
// read back and written again to the same text, and every value must give
// its text or the one failure that a number may raise.
#include "json/strict/document_strict.h"
#include "platform/erreur.h"
#include "platform/texte_utf.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace tq::json_strict;

namespace {

void TexteDeChaqueValeur(const TValeur& racine)
{
    std::vector<const TValeur*> aVoir { &racine };
    while (!aVoir.empty()) {
        const TValeur* valeur = aVoir.back();
        aVoir.pop_back();
        try {
            ValueText(*valeur, u',');
        } catch (const tq::Erreur&) {
            if (ValueKind(*valeur) != TTypeValeur::Nombre)
                std::abort();
        }
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(ElementCount(*valeur)); ++i)
            aVoir.push_back(ElementAt(*valeur, i));
        for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(PairCount(*valeur)); ++i) {
            const TPaire* paire = PairAt(*valeur, i);
            if (FindPair(*valeur, PairName(*paire)) == nullptr)
                std::abort();
            aVoir.push_back(&PairValue(*paire));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    const std::string_view octets { reinterpret_cast<const char*>(donnees), taille };
    const auto document = ParseDocument(octets);
    if (!document)
        return 0;
    TexteDeChaqueValeur(document->Racine());

    // The UTF-8 form of the writing parses again to the same writing. An
    // unpaired surrogate cannot pass through UTF-8 unchanged, so it is the
    // one case where only the second round is compared.
    const std::u16string ecrit = ToJsonText(document->Racine());
    const auto relu = ParseDocument(tq::VersUtf8(ecrit));
    if (!relu)
        std::abort();
    const std::u16string reecrit = ToJsonText(relu->Racine());
    bool substitutIsole = false;
    for (std::size_t i = 0; i < ecrit.size(); ++i) {
        const char16_t u = ecrit[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < ecrit.size() && ecrit[i + 1] >= 0xDC00 && ecrit[i + 1] <= 0xDFFF)
            ++i;
        else if (u >= 0xD800 && u <= 0xDFFF)
            substitutIsole = true;
    }
    if (!substitutIsole && reecrit != ecrit)
        std::abort();
    const auto encoreRelu = ParseDocument(tq::VersUtf8(reecrit));
    if (!encoreRelu || ToJsonText(encoreRelu->Racine()) != reecrit)
        std::abort();
    return 0;
}
