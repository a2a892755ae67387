#include "json/souple/valeur_souple.h"

#include "json/souple/arbre_souple.h"

#include <charconv>
#include <cstdint>

namespace tq::json_souple {
namespace {

void AjouterAscii(std::u16string& sortie, const char* debut, const char* fin)
{
    sortie.append(debut, fin);
}

// Only the double quote, the backslash, the slash and code unit 0 are
// escaped; every other code unit, control characters and line breaks
// included, is written as it is.
void AjouterTexteEchappe(std::u16string& sortie, std::u16string_view texte)
{
    sortie.push_back(u'"');
    std::size_t debutSegment = 0;
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const char16_t c = texte[i];
        if (c > u'\\' || (c != u'"' && c != u'\\' && c != u'/' && c != 0))
            continue;
        sortie.append(texte.substr(debutSegment, i - debutSegment));
        switch (c) {
        case u'"':
            sortie.append(u"\\\"");
            break;
        case u'\\':
            sortie.append(u"\\\\");
            break;
        case u'/':
            sortie.append(u"\\/");
            break;
        default:
            sortie.append(u"\\u0000");
            break;
        }
        debutSegment = i + 1;
    }
    sortie.append(texte.substr(debutSegment));
    sortie.push_back(u'"');
}

void AjouterEntier(std::u16string& sortie, std::int64_t v)
{
    char tampon[24];
    const auto fin = std::to_chars(tampon, tampon + sizeof tampon, v).ptr;
    AjouterAscii(sortie, tampon, fin);
}

// The decimal text of a count of ten-thousandths: at least one digit before
// the point, trailing zeros of the four decimals removed, the point kept even
// when no decimal is left ("2.").
void AjouterDecimal(std::u16string& sortie, std::int64_t v)
{
    if (v == 0) {
        sortie.push_back(u'0');
        return;
    }
    const bool negatif = v < 0;
    // The magnitude of the smallest int64 does not fit an int64.
    const std::uint64_t absolue =
        negatif ? std::uint64_t { 0 } - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    // The digits of |v|, left-padded with zeros to at least five.
    char chiffres[24];
    const char* finBrut = std::to_chars(chiffres + 4, chiffres + sizeof chiffres, absolue).ptr;
    char* debut = chiffres + 4;
    while (finBrut - debut < 5)
        *--debut = '0';
    const char* point = finBrut - 4;
    const char* finDecimales = finBrut;
    while (finDecimales > point && finDecimales[-1] == '0')
        --finDecimales;
    if (negatif)
        sortie.push_back(u'-');
    AjouterAscii(sortie, debut, point);
    sortie.push_back(u'.');
    AjouterAscii(sortie, point, finDecimales);
}

// General conversion with 15 significant digits: fixed notation where the
// exponent allows it, exponent notation otherwise, trailing zeros dropped.
// Negative zero is written as 0 so that the text reads back to the same text.
void AjouterFlottant(std::u16string& sortie, double d)
{
    if (d == 0.0) {
        sortie.push_back(u'0');
        return;
    }
    char tampon[40];
    const auto fin = std::to_chars(tampon, tampon + sizeof tampon, d, std::chars_format::general, 15).ptr;
    AjouterAscii(sortie, tampon, fin);
}

} // namespace

void CompactJson(const TValeurSouple& valeur, std::u16string& sortie)
{
    switch (valeur.Genre()) {
    case TGenreSouple::Nul:
        sortie.append(u"null");
        return;
    case TGenreSouple::Booleen:
        sortie.append(valeur.Booleen() ? u"true" : u"false");
        return;
    case TGenreSouple::Entier:
        AjouterEntier(sortie, valeur.Entier());
        return;
    case TGenreSouple::Decimal:
        AjouterDecimal(sortie, valeur.DixMilliemes());
        return;
    case TGenreSouple::Flottant:
        AjouterFlottant(sortie, valeur.Flottant());
        return;
    case TGenreSouple::Texte:
        AjouterTexteEchappe(sortie, valeur.Texte());
        return;
    case TGenreSouple::Tableau: {
        sortie.push_back(u'[');
        bool premier = true;
        for (const TValeurSouple& element : EnumerateElements(valeur)) {
            if (!premier)
                sortie.push_back(u',');
            premier = false;
            CompactJson(element, sortie);
        }
        sortie.push_back(u']');
        return;
    }
    case TGenreSouple::Objet: {
        sortie.push_back(u'{');
        const TNomMembre* noms = TAccesValeur::Noms(valeur);
        const auto valeurs = EnumerateElements(valeur);
        for (std::size_t i = 0; i < valeurs.size(); ++i) {
            if (i > 0)
                sortie.push_back(u',');
            AjouterTexteEchappe(sortie, noms[i].Vue());
            sortie.push_back(u':');
            CompactJson(valeurs[i], sortie);
        }
        sortie.push_back(u'}');
        return;
    }
    }
}

void AsText(const TValeurSouple& valeur, std::u16string& sortie)
{
    if (valeur.Genre() == TGenreSouple::Texte)
        sortie.append(valeur.Texte());
    else
        CompactJson(valeur, sortie);
}

} // namespace tq::json_souple
