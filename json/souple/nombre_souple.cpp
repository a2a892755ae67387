#include "json/souple/nombre_souple.h"

#include "json/souple/arbre_souple.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace tq::json_souple {
namespace {

constexpr bool EstCaractereDeNombre(char16_t c) noexcept
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'+' || c == u'-';
}

// Adds the digits of `chiffres` (all of them must be digits) to `absolue`,
// staying within `limite`.
bool AjouterChiffres(std::u16string_view chiffres, std::uint64_t limite, std::uint64_t& absolue) noexcept
{
    for (char16_t c : chiffres) {
        if (c < u'0' || c > u'9')
            return false;
        const unsigned chiffre = c - u'0';
        if (absolue > (limite - chiffre) / 10)
            return false;
        absolue = absolue * 10 + chiffre;
    }
    return true;
}

std::int64_t AvecSigne(bool negatif, std::uint64_t absolue) noexcept
{
    return negatif ? static_cast<std::int64_t>(std::uint64_t { 0 } - absolue) : static_cast<std::int64_t>(absolue);
}

// An optional minus and at least one digit, within 64 bits.
bool ConvertirEntier(std::u16string_view pris, std::int64_t& valeur) noexcept
{
    const bool negatif = pris.front() == u'-';
    if (negatif)
        pris.remove_prefix(1);
    const std::uint64_t limite = negatif ? std::uint64_t { 1 } << 63 : (std::uint64_t { 1 } << 63) - 1;
    std::uint64_t absolue = 0;
    if (pris.empty() || !AjouterChiffres(pris, limite, absolue))
        return false;
    valeur = AvecSigne(negatif, absolue);
    return true;
}

// An optional minus, digits, one point and exactly `decimales` digits (0 to
// 4), at least one digit in all. The digits after the point are moved over
// it and the count scaled to ten-thousandths, within 64 bits.
bool ConvertirDecimal(std::u16string_view pris, int decimales, std::int64_t& valeur) noexcept
{
    const bool negatif = pris.front() == u'-';
    if (negatif)
        pris.remove_prefix(1);
    const std::size_t point = pris.find(u'.');
    if (point == std::u16string_view::npos || pris.size() - point - 1 != static_cast<std::size_t>(decimales)
        || pris.size() == 1)
        return false;
    const std::uint64_t limite = negatif ? std::uint64_t { 1 } << 63 : (std::uint64_t { 1 } << 63) - 1;
    std::uint64_t absolue = 0;
    if (!AjouterChiffres(pris.substr(0, point), limite, absolue)
        || !AjouterChiffres(pris.substr(point + 1), limite, absolue))
        return false;
    for (int i = decimales; i < 4; ++i) {
        if (absolue > limite / 10)
            return false;
        absolue *= 10;
    }
    valeur = AvecSigne(negatif, absolue);
    return true;
}

// The whole run must read as a finite double, "." as the point whatever the
// locale.
bool ConvertirFlottant(std::u16string_view pris, double& valeur) noexcept
{
    char court[64];
    std::string long_;
    char* octets = court;
    if (pris.size() > sizeof court) {
        try {
            long_.resize(pris.size());
        } catch (...) {
            return false;
        }
        octets = long_.data();
    }
    for (std::size_t i = 0; i < pris.size(); ++i)
        octets[i] = static_cast<char>(pris[i]);
    const char* fin = octets + pris.size();
    const auto [ptr, ec] = std::from_chars(octets, fin, valeur, std::chars_format::general);
    return ec == std::errc() && ptr == fin;
}

} // namespace

bool ConvertirNombre(std::u16string_view pris, TValeurSouple& valeur) noexcept
{
    // "." sets the point flag and starts counting decimals; "e" sets the
    // flag and stops counting; a fifth decimal stops counting too.
    bool point = false;
    int decimales = -1;
    for (char16_t c : pris) {
        if (c >= u'0' && c <= u'9') {
            if (point && decimales >= 0 && ++decimales > 4)
                decimales = -1;
        } else if (c == u'.') {
            point = true;
            decimales = 0;
        } else if (c == u'e' || c == u'E') {
            point = true;
            decimales = -1;
        }
    }
    std::int64_t entier = 0;
    if (!point) {
        if (!ConvertirEntier(pris, entier))
            return false;
        valeur = TAccesValeur::Scalaire(TGenreSouple::Entier, entier);
        return true;
    }
    if (decimales >= 0) {
        if (!ConvertirDecimal(pris, decimales, entier))
            return false;
        valeur = TAccesValeur::Scalaire(TGenreSouple::Decimal, entier);
        return true;
    }
    double flottant = 0.0;
    if (!ConvertirFlottant(pris, flottant))
        return false;
    valeur = TAccesValeur::Flottant(flottant);
    return true;
}

const char16_t* LireNombre(const char16_t* p, const char16_t* const fin, TValeurSouple& valeur) noexcept
{
    const char16_t* debut = p;
    auto Unite = [&] { return p < fin ? *p : char16_t { 0 }; };
    // Most numbers are short plain integers, read as they are taken; up to
    // 18 digits cannot overflow.
    const bool negatif = Unite() == u'-';
    if (negatif)
        ++p;
    std::uint64_t absolue = 0;
    for (char16_t c = Unite(); c >= u'0' && c <= u'9'; c = Unite()) {
        absolue = absolue * 10 + (c - u'0');
        ++p;
    }
    const std::size_t chiffres = static_cast<std::size_t>(p - debut) - (negatif ? 1 : 0);
    if (!EstCaractereDeNombre(Unite()) && chiffres > 0 && chiffres <= 18) {
        const auto entier = static_cast<std::int64_t>(absolue);
        valeur = TAccesValeur::Scalaire(TGenreSouple::Entier, negatif ? -entier : entier);
        return p;
    }
    while (EstCaractereDeNombre(Unite()))
        ++p;
    const std::u16string_view pris(debut, static_cast<std::size_t>(p - debut));
    if (!ConvertirNombre(pris, valeur))
        valeur = TAccesValeur::Texte(debut, static_cast<std::uint32_t>(pris.size()));
    return p;
}

} // namespace tq::json_souple
