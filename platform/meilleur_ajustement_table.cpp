// The best-fit tables on Linux: the ANSI one computed by the build (see
// calcul_meilleur_ajustement.h) and kept as constant data, the ASCII one
// derived from it on first use.
#include "platform/meilleur_ajustement.h"

namespace tq {

namespace {

// The 7-bit form of each byte from 0x80 to 0xFF of Windows-1252, one
// character for one: letters lose their diacritics, a ligature keeps its
// first letter, every quote mark becomes the apostrophe, the soft hyphen the
// hyphen it stands for where a word is broken.
constexpr char AsciiDe80AFF[] = "E?'f'.++^%S'O?Z?"  // 80
                                "?''''*--~Ts'o?zY"  // 90
                                " !cL?Y|??ca'--R-"  // A0
                                "o+23'u?.,1o'????"  // B0
                                "AAAAAAACEEEEIIII"  // C0
                                "DNOOOOOxOUUUUYTs"  // D0
                                "aaaaaaaceeeeiiii"  // E0
                                "dnooooo/ouuuuyty"; // F0
static_assert(sizeof AsciiDe80AFF == 128 + 1);

// The ASCII table follows the Windows-1252 one: a character first takes its
// Windows-1252 byte (or best fit), and that byte its 7-bit form, so the two
// conversions never disagree about what a character stands for.
TTableEncodage ConstruireTableAscii()
{
    const TTableEncodage& ansi = TableAnsi();
    TTableEncodage table;
    for (std::size_t c = 0; c < table.code.size(); ++c) {
        const std::uint16_t code = ansi.code[c];
        if (code == TTableEncodage::SubstitutHaut || code < 0x80)
            table.code[c] = code;
        else
            table.code[c] = static_cast<unsigned char>(AsciiDe80AFF[code - 0x80]);
    }
    return table;
}

} // namespace

const TTableEncodage& TableAnsi()
{
    static constexpr TTableEncodage table { {
#include "table_ansi.inc"
    } };
    return table;
}

const TTableEncodage& TableAscii()
{
    static const TTableEncodage table = ConstruireTableAscii();
    return table;
}

} // namespace tq
