#include "platform/conversion_plateforme.h"

#include "platform/registre_charsets.h"

#include "platform/bibliotheque_icu.h"

#include <algorithm>
#include <memory>

namespace tq {

namespace {

struct TFermeConvertisseur {
    void operator()(UConverter* c) const { BibliothequeIcu()->ucnv_close(c); }
};
using TConvertisseur = std::unique_ptr<UConverter, TFermeConvertisseur>;

TConvertisseur OuvrirConvertisseur(int codePage)
{
    const std::string_view nom = NomConvertisseur(codePage);
    if (nom.empty() || BibliothequeIcu() == nullptr)
        return nullptr;
    UErrorCode statut = U_ZERO_ERROR;
    TConvertisseur c(BibliothequeIcu()->ucnv_open(std::string(nom).c_str(), &statut));
    if (U_FAILURE(statut))
        return nullptr;
    return c;
}

// In pieces, so that no length has to fit the library's 32-bit counts.
std::u16string DecoderBibliotheque(UConverter* convertisseur, std::string_view octets)
{
    std::u16string texte;
    texte.resize(octets.size() + 16);
    const char* source = octets.data();
    const char* const finSource = source + octets.size();
    std::size_t ecrits = 0;
    for (;;) {
        if (texte.size() - ecrits < 16)
            texte.resize(texte.size() * 2);
        constexpr std::size_t PieceMax = std::size_t(1) << 30;
        const std::size_t place = std::min(texte.size() - ecrits, PieceMax);
        UChar* cible = reinterpret_cast<UChar*>(texte.data() + ecrits);
        UChar* const debutCible = cible;
        UErrorCode statut = U_ZERO_ERROR;
        BibliothequeIcu()->ucnv_toUnicode(convertisseur, &cible, cible + place, &source, finSource, nullptr, true,
                                          &statut);
        ecrits += static_cast<std::size_t>(cible - debutCible);
        if (statut == U_BUFFER_OVERFLOW_ERROR)
            continue;
        break;
    }
    texte.resize(ecrits);
    return texte;
}

} // namespace

std::optional<std::u16string> DecoderParLaPlateforme(std::string_view octets, int codePage)
{
    TConvertisseur convertisseur = OuvrirConvertisseur(codePage);
    if (!convertisseur)
        return std::nullopt;
    return DecoderBibliotheque(convertisseur.get(), octets);
}

} // namespace tq
