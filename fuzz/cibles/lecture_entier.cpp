// Arbitrary text through the integer reading, checked against a second
// reading written from the rules alone: spaces, a sign, then a hexadecimal
// prefix and digits fitting in 32 bits, or decimal digits within the signed
// 32-bit range, and nothing after them. A byte of the input below 0x80 is
// that ASCII character; a byte from 0x80 up is the high half of a UTF-16 code
// unit whose low half is the next byte, so short inputs reach the digits and
// any other unit can still appear.
#include "results/lecture_entier.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The text as ASCII, or nothing when a code unit is outside it: such a unit
// can never be part of an integer.
std::optional<std::string> Ascii(std::u16string_view texte)
{
    std::string ascii;
    for (char16_t c : texte) {
        if (c > 0x7F)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

std::string_view SansZerosDeTete(std::string_view chiffres)
{
    while (chiffres.size() > 1 && chiffres.front() == '0')
        chiffres.remove_prefix(1);
    return chiffres;
}

bool Tous(std::string_view texte, bool (*accepte)(char))
{
    if (texte.empty())
        return false;
    for (char c : texte)
        if (!accepte(c))
            return false;
    return true;
}

std::int32_t Reference(std::u16string_view texte)
{
    const std::optional<std::string> ascii = Ascii(texte);
    if (!ascii)
        return 0;
    std::string_view s = *ascii;
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    bool negatif = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negatif = s.front() == '-';
        s.remove_prefix(1);
    }
    std::string_view chiffres;
    int base = 10;
    for (std::string_view prefixe : { "0x", "0X", "$", "x", "X" }) {
        if (s.starts_with(prefixe)) {
            chiffres = s.substr(prefixe.size());
            base = 16;
            break;
        }
    }
    if (base == 16) {
        if (!Tous(chiffres, [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
            return 0;
        chiffres = SansZerosDeTete(chiffres);
        std::uint64_t valeur = 0;
        if (chiffres.size() > 8
            || std::from_chars(chiffres.data(), chiffres.data() + chiffres.size(), valeur, 16).ec != std::errc {})
            return 0;
        const auto motif = static_cast<std::uint32_t>(valeur);
        return static_cast<std::int32_t>(negatif ? 0u - motif : motif);
    }
    if (!Tous(s, [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    chiffres = SansZerosDeTete(s);
    std::int64_t valeur = 0;
    if (chiffres.size() > 10
        || std::from_chars(chiffres.data(), chiffres.data() + chiffres.size(), valeur).ec != std::errc {})
        return 0;
    if (negatif)
        valeur = -valeur;
    if (valeur < INT32_MIN || valeur > INT32_MAX)
        return 0;
    return static_cast<std::int32_t>(valeur);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    std::u16string texte;
    for (std::size_t i = 0; i < taille;) {
        if (donnees[i] < 0x80) {
            texte.push_back(donnees[i]);
            i += 1;
        } else if (i + 1 < taille) {
            texte.push_back(static_cast<char16_t>(donnees[i] << 8 | donnees[i + 1]));
            i += 2;
        } else {
            break;
        }
    }
    if (tq::EntierOuZero(texte) != Reference(texte))
        std::abort();
    return 0;
}
