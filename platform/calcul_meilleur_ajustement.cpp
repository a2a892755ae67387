#include "platform/calcul_meilleur_ajustement.h"

#include <algorithm>
#include <bit>
#include <string_view>

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

namespace tq {

namespace {

// Characters of the bytes 0x80 to 0x9F of Windows-1252. The five bytes the
// code page leaves undefined stand for the C1 control of the same number, so
// that they come back unchanged from a decoder that reads them that way.
constexpr char16_t Cp1252De80A9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct TAjustement {
    char16_t caractere;
    unsigned char octet;
};

// Best fits into Windows-1252 that no Unicode decomposition gives: letters
// with a stroke or bar, dashes, quotes and spaces. None of them is the double
// quote or the backslash: a typographic double quote outside the code page
// becomes one of the code page's own typographic quotes.
constexpr TAjustement AjustementsAnsi[] = {
    { 0x0110, 'D' },  { 0x0111, 'd' },  { 0x0126, 'H' },  { 0x0127, 'h' },  { 0x0131, 'i' },  { 0x0141, 'L' },
    { 0x0142, 'l' },  { 0x0166, 'T' },  { 0x0167, 't' },  { 0x0180, 'b' },  { 0x0197, 'I' },  { 0x01B5, 'Z' },
    { 0x01B6, 'z' },  { 0x01E4, 'G' },  { 0x01E5, 'g' },  { 0x0189, 0xD0 }, { 0x02B9, '\'' }, { 0x02BB, 0x91 },
    { 0x02BC, 0x92 }, { 0x02BD, 0x91 }, { 0x02C8, '\'' }, { 0x02CA, 0xB4 }, { 0x02CB, '`' },  { 0x02CD, '_' },
    { 0x02DA, 0xB0 }, { 0x2010, '-' },  { 0x2011, '-' },  { 0x2012, 0x96 }, { 0x2015, 0x97 }, { 0x2017, '_' },
    { 0x201B, 0x91 }, { 0x201F, 0x93 }, { 0x2023, 0x95 }, { 0x2032, '\'' }, { 0x2033, 0x94 }, { 0x2035, '`' },
    { 0x2036, 0x93 }, { 0x2043, '-' },  { 0x2044, '/' },  { 0x2007, 0xA0 }, { 0x202F, 0xA0 }, { 0x2212, '-' },
    { 0x2215, '/' },  { 0x2219, 0xB7 }, { 0x2223, '|' },  { 0x2236, ':' },  { 0x223C, '~' },  { 0x2264, '<' },
    { 0x2265, '>' },  { 0x226A, 0xAB }, { 0x226B, 0xBB }, { 0x2500, '-' },  { 0x2502, '|' },  { 0x250C, '+' },
    { 0x2510, '+' },  { 0x2514, '+' },  { 0x2518, '+' },  { 0x253C, '+' },  { 0x25CF, 0x95 }, { 0x3001, ',' },
    { 0x3002, '.' },  { 0x3008, '<' },  { 0x3009, '>' },  { 0x300A, 0xAB }, { 0x300B, 0xBB }, { 0xFF02, 0x94 },
    { 0x1680, ' ' },
};

constexpr std::uint16_t NonAttribue = 0xFFFE;

bool EstLettreOuChiffre(char32_t c)
{
    return (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_N_MASK)) != 0;
}
bool EstMarque(char32_t c)
{
    return (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0;
}

std::u32string PointsDeCode(const UChar* unites, int32_t longueur)
{
    std::u32string points;
    for (int32_t i = 0; i < longueur;) {
        UChar32 c;
        U16_NEXT(unites, i, longueur, c);
        points.push_back(static_cast<char32_t>(c));
    }
    return points;
}

// The one code point that the canonical composition of `points` gives, or 0
// when it gives several.
char32_t Composer(std::u32string_view points)
{
    UChar source[32];
    int32_t longueur = 0;
    for (char32_t p : points) {
        if (longueur + 2 > 32)
            return 0;
        U16_APPEND_UNSAFE(source, longueur, static_cast<UChar32>(p));
    }
    UErrorCode erreur = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&erreur);
    UChar compose[32];
    const int32_t n = unorm2_normalize(nfc, source, longueur, compose, 32, &erreur);
    if (U_FAILURE(erreur))
        return 0;
    const std::u32string resultat = PointsDeCode(compose, n);
    return resultat.size() == 1 ? resultat[0] : 0;
}

// The character that stands for `c` when the target lacks it, found through
// Unicode's decompositions: an accented letter gives the nearest character the
// target has (the letter with as many of its accents as the target keeps,
// down to its base letter), a compatibility form its plain character ("Ａ"
// gives "A", a thin space a space). Gives 0 when neither leads into the
// target. A letter is never reduced to a symbol or a symbol to another one
// through combining marks, so "≠" does not become "=".
template <typename Accepte> char32_t Approcher(char32_t c, Accepte accepte)
{
    UErrorCode erreur = U_ZERO_ERROR;
    const UNormalizer2* formes[] = { unorm2_getNFDInstance(&erreur), unorm2_getNFKDInstance(&erreur) };
    if (U_FAILURE(erreur))
        return 0;
    for (const UNormalizer2* forme : formes) {
        UChar tampon[32];
        erreur = U_ZERO_ERROR;
        const int32_t longueur = unorm2_getDecomposition(forme, static_cast<UChar32>(c), tampon, 32, &erreur);
        if (U_FAILURE(erreur) || longueur <= 0)
            continue;
        const std::u32string points = PointsDeCode(tampon, longueur);
        if (points.size() == 1) {
            if (accepte(points[0]))
                return points[0];
            continue;
        }
        if (!EstLettreOuChiffre(c) || !EstLettreOuChiffre(points[0]))
            continue;
        bool marquesSeules = true;
        for (std::size_t i = 1; i < points.size(); ++i)
            marquesSeules = marquesSeules && EstMarque(points[i]);
        if (!marquesSeules)
            continue;
        // Keep as many marks as possible: all of them, then every choice of one
        // fewer, and so on down to the base letter alone.
        const std::size_t marques = std::min<std::size_t>(points.size() - 1, 8);
        for (int garde = static_cast<int>(marques); garde >= 0; --garde) {
            for (unsigned choix = 0; choix < (1u << marques); ++choix) {
                if (std::popcount(choix) != garde)
                    continue;
                std::u32string candidat(1, points[0]);
                for (std::size_t i = 0; i < marques; ++i)
                    if (choix & (1u << i))
                        candidat.push_back(points[i + 1]);
                const char32_t compose = Composer(candidat);
                if (compose != 0 && accepte(compose))
                    return compose;
            }
        }
    }
    return 0;
}

bool EstSubstitut(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

} // namespace

TTableEncodage CalculerTableAnsi()
{
    TTableEncodage table;
    table.code.fill(NonAttribue);
    std::array<bool, 0x10000> natif {};
    for (char16_t c = 0; c < 0x80; ++c)
        table.code[c] = c;
    for (char16_t c = 0xA0; c < 0x100; ++c)
        table.code[c] = c;
    for (unsigned octet = 0x80; octet < 0xA0; ++octet)
        table.code[Cp1252De80A9F[octet - 0x80]] = static_cast<std::uint16_t>(octet);
    for (std::size_t c = 0; c < table.code.size(); ++c)
        natif[c] = table.code[c] != NonAttribue;

    // Every character gives a byte, the invisible ones too (zero-width spaces
    // and joiners, direction marks, the byte-order mark): a character left out
    // would join the words around it without a trace.
    for (const TAjustement& a : AjustementsAnsi)
        table.code[a.caractere] = a.octet;

    auto accepte = [&natif](char32_t p) {
        return p < natif.size() && natif[p] && p >= 0x20 && p != 0x7F && p != u'"' && p != u'\\'
            && !(p >= 0x80 && p < 0xA0);
    };
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (table.code[c] != NonAttribue || EstSubstitut(c))
            continue;
        const char32_t proche = Approcher(c, accepte);
        table.code[c] = proche != 0 ? table.code[proche] : static_cast<std::uint16_t>('?');
    }
    for (char32_t c = 0xD800; c < 0xDC00; ++c)
        table.code[c] = TTableEncodage::SubstitutHaut;
    for (char32_t c = 0xDC00; c < 0xE000; ++c)
        table.code[c] = '?';
    return table;
}

} // namespace tq
