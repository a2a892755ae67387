#pragma once

// Character tests and comparisons on ASCII, for bytes and for UTF-16 code
// units alike. Protocol names, numbers and escapes are ASCII: any other
// character is neither a digit, a letter nor a blank here, whatever the
// locale says.

#include <cstddef>
#include <string_view>

namespace tq {

template <class TCar> constexpr bool EstChiffreAscii(TCar c) noexcept
{
    return c >= TCar('0') && c <= TCar('9');
}

template <class TCar> constexpr bool EstLettreAscii(TCar c) noexcept
{
    return (c >= TCar('a') && c <= TCar('z')) || (c >= TCar('A') && c <= TCar('Z'));
}

// The value of a hexadecimal digit in either case; -1 for anything else.
template <class TCar> constexpr int ValeurHexa(TCar c) noexcept
{
    if (c >= TCar('0') && c <= TCar('9'))
        return static_cast<int>(c - TCar('0'));
    if (c >= TCar('a') && c <= TCar('f'))
        return static_cast<int>(c - TCar('a')) + 10;
    if (c >= TCar('A') && c <= TCar('F'))
        return static_cast<int>(c - TCar('A')) + 10;
    return -1;
}

template <class TCar> constexpr TCar MinusculeAscii(TCar c) noexcept
{
    return c >= TCar('A') && c <= TCar('Z') ? static_cast<TCar>(c - TCar('A') + TCar('a')) : c;
}

// Equal but for the case of ASCII letters, as names and tokens compare.
constexpr bool EgauxSansCasse(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (MinusculeAscii(a[i]) != MinusculeAscii(b[i]))
            return false;
    return true;
}

// The text without its leading and trailing spaces and tabs.
constexpr std::string_view SansBlancs(std::string_view texte) noexcept
{
    const std::size_t debut = texte.find_first_not_of(" \t");
    if (debut == std::string_view::npos)
        return {};
    const std::size_t fin = texte.find_last_not_of(" \t");
    return texte.substr(debut, fin - debut + 1);
}

} // namespace tq
