#include "json/strict/document_strict.h"

#include "json/strict/stockage_document.h"
#include "platform/erreur.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace tq::json_strict {

namespace {

using A = TAccesInterne;

// Significant digits of the general number format.
constexpr int Precision = 15;
// From this many characters on, a number without a fraction is read as a
// 64-bit integer, so that long identifiers keep all their digits.
constexpr std::size_t LongueurEntierLong = 12;

std::u16string Elargir(std::string_view ascii)
{
    return { ascii.begin(), ascii.end() };
}

std::u16string TexteEntierLong(const std::string& source)
{
    std::int64_t valeur = 0;
    const char* const fin = source.data() + source.size();
    const auto [suite, erreur] = std::from_chars(source.data(), fin, valeur);
    if (erreur != std::errc {} || suite != fin)
        throw Erreur { "'" + source + "' n'est pas une valeur entière correcte" };
    char tampon[24];
    const auto resultat = std::to_chars(tampon, tampon + sizeof tampon, valeur);
    return Elargir({ tampon, resultat.ptr });
}

// True when a number that no double can hold is too large rather than too
// small: the place of its first significant digit plus its exponent.
bool TropGrand(std::string_view source)
{
    std::size_t i = source.front() == '-' ? 1 : 0;
    long long rang = 0;
    bool significatif = false;
    for (; i < source.size() && source[i] >= '0' && source[i] <= '9'; ++i)
        if (significatif)
            ++rang;
        else if (source[i] != '0')
            significatif = true;
    if (!significatif && i < source.size() && source[i] == '.') {
        rang = -1;
        for (++i; i < source.size() && source[i] == '0'; ++i)
            --rang;
    }
    while (i < source.size() && source[i] != 'e' && source[i] != 'E')
        ++i;
    long long exposant = 0;
    if (i < source.size()) {
        ++i;
        const bool negatif = source[i] == '-';
        if (source[i] == '+' || source[i] == '-')
            ++i;
        // Saturated: far beyond any double either way.
        for (; i < source.size() && exposant < 1'000'000'000; ++i)
            exposant = exposant * 10 + (source[i] - '0');
        if (negatif)
            exposant = -exposant;
    }
    return rang + exposant > 0;
}

// At most 15 significant digits without trailing zeros; fixed notation from
// 1E-5 up to 15 integer digits, scientific notation ("1,5E-7", "1E20") beyond.
std::u16string FormatGeneral(double valeur, char16_t separateur)
{
    if (valeur == 0)
        return u"0";
    std::u16string texte;
    if (std::signbit(valeur))
        texte += u'-';
    if (std::isinf(valeur))
        return texte + u"INF";

    char tampon[40];
    const auto resultat =
        std::to_chars(tampon, tampon + sizeof tampon, std::fabs(valeur), std::chars_format::scientific, Precision - 1);
    const std::string_view ecrit { tampon, resultat.ptr };
    const std::size_t e = ecrit.find('e');
    std::string chiffres { ecrit.substr(0, 1) };
    chiffres += ecrit.substr(2, e - 2);
    int exposant = 0;
    const std::string_view texteExposant = ecrit.substr(e + 1);
    std::from_chars(texteExposant.data() + (texteExposant.front() == '+' ? 1 : 0),
                    texteExposant.data() + texteExposant.size(), exposant);
    while (chiffres.size() > 1 && chiffres.back() == '0')
        chiffres.pop_back();

    if (exposant >= Precision || exposant < -5) {
        texte += chiffres.front();
        if (chiffres.size() > 1) {
            texte += separateur;
            texte += Elargir(std::string_view { chiffres }.substr(1));
        }
        texte += u'E';
        texte += Elargir(std::to_string(exposant));
    } else if (exposant >= 0) {
        const auto entiers = static_cast<std::size_t>(exposant) + 1;
        if (chiffres.size() <= entiers) {
            texte += Elargir(chiffres);
            texte.append(entiers - chiffres.size(), u'0');
        } else {
            texte += Elargir(std::string_view { chiffres }.substr(0, entiers));
            texte += separateur;
            texte += Elargir(std::string_view { chiffres }.substr(entiers));
        }
    } else {
        texte += u'0';
        texte += separateur;
        texte.append(static_cast<std::size_t>(-exposant - 1), u'0');
        texte += Elargir(chiffres);
    }
    return texte;
}

// A number without fraction or exponent, shorter than the long-integer form.
bool EstEntierCourt(std::u16string_view source)
{
    if (source.size() >= LongueurEntierLong)
        return false;
    const std::size_t debut = !source.empty() && source.front() == u'-' ? 1 : 0;
    if (debut == source.size())
        return false;
    for (std::size_t i = debut; i < source.size(); ++i)
        if (source[i] < u'0' || source[i] > u'9')
            return false;
    return true;
}

std::u16string TexteNombre(std::u16string_view source16, char16_t separateur)
{
    // Such an integer is exact as a double, and the general format writes its
    // digits back as they are (the grammar allows no leading zero): the
    // source itself, save for "-0", which reads as 0.
    if (EstEntierCourt(source16))
        return source16 == u"-0" ? std::u16string(u"0") : std::u16string(source16);
    // The reader keeps a number's characters as written; they are all 7-bit.
    const std::string source { source16.begin(), source16.end() };
    if (source.size() >= LongueurEntierLong && source.find('.') == std::string::npos)
        return TexteEntierLong(source);

    double valeur = 0;
    const auto [suite, erreur] = std::from_chars(source.data(), source.data() + source.size(), valeur);
    if (erreur == std::errc::result_out_of_range) {
        const bool negatif = source.front() == '-';
        valeur = TropGrand(source) ? HUGE_VAL : 0.0;
        if (negatif)
            valeur = -valeur;
    }
    return FormatGeneral(valeur, separateur);
}

} // namespace

std::u16string ValueText(const TValeur& valeur, char16_t separateurDecimal)
{
    switch (A::Type(valeur)) {
    case TTypeValeur::Chaine:
        return std::u16string { StringView(valeur) };
    case TTypeValeur::Nombre:
        return TexteNombre(A::Texte(valeur), separateurDecimal);
    default:
        return {};
    }
}

} // namespace tq::json_strict
