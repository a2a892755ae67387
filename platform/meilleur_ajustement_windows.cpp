#include "platform/meilleur_ajustement.h"

#include <string>
#include <string_view>

#include <windows.h>

namespace tq {

namespace {

constexpr UINT CodePageUsAscii = 20127;

// The bytes the system writes for one code unit, with its best fit. `exact`
// tells whether the code page has the character itself.
std::string Convertir(UINT codePage, char16_t c, DWORD options = 0, bool* exact = nullptr)
{
    const wchar_t unite = static_cast<wchar_t>(c);
    char octets[8];
    BOOL defaut = FALSE;
    // The UTF code pages accept no default character flag.
    const bool accepteDefaut = codePage != CP_UTF8 && codePage != CP_UTF7;
    const int n = WideCharToMultiByte(codePage, options, &unite, 1, octets, sizeof octets, nullptr,
                                      accepteDefaut ? &defaut : nullptr);
    if (exact != nullptr)
        *exact = n > 0 && !defaut;
    return n > 0 ? std::string(octets, static_cast<std::size_t>(n)) : std::string("?");
}

// A non-ASCII character must never come out as the double quote or the
// backslash: the request body and the centre list are JSON, where either
// would end a string or start an escape. A character whose best fit is the
// double quote takes the code page's own closing typographic quote, or the
// apostrophe where it has none; one whose best fit is the backslash (the yen
// sign of the Japanese code page, a full-width backslash) becomes "?".
std::string SansGuillemetNiBarre(std::string octets, const std::string& guillemetTypographique)
{
    if (octets.find('"') != std::string::npos)
        return guillemetTypographique;
    if (octets.find('\\') != std::string::npos)
        return "?";
    return octets;
}

TTableEncodage ConstruireTable(UINT codePage)
{
    TTableEncodage table;
    bool exact = false;
    const std::string fermant = Convertir(codePage, u'\u201D', WC_NO_BEST_FIT_CHARS, &exact);
    const std::string guillemet = exact ? fermant : std::string("'");
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xDC00) {
            // A character beyond the first plane is one character: one "?".
            table.code[c] = TTableEncodage::SubstitutHaut;
            continue;
        }
        if (c >= 0xDC00 && c < 0xE000) {
            table.code[c] = '?';
            continue;
        }
        std::string octets = Convertir(codePage, static_cast<char16_t>(c));
        if (c >= 0x80)
            octets = SansGuillemetNiBarre(std::move(octets), guillemet);
        // One byte per character: a code page that writes some characters
        // with two bytes (the East Asian ones) gives "?" for those.
        table.code[c] = octets.size() == 1 ? static_cast<unsigned char>(octets[0]) : static_cast<unsigned char>('?');
    }
    return table;
}

} // namespace

const TTableEncodage& TableAnsi()
{
    static const TTableEncodage table = ConstruireTable(GetACP());
    return table;
}

const TTableEncodage& TableAscii()
{
    static const TTableEncodage table = ConstruireTable(CodePageUsAscii);
    return table;
}

} // namespace tq
