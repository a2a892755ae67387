#include "platform/charset_xml.h"

#include <array>
#include <cstdint>

namespace tq {

namespace {

struct TMarque {
    std::string_view octets;
    std::string_view charset;
};

// Byte-order marks in the order they are tried: the four-byte UCS-4 marks
// before the UTF-16 marks they begin with. The two unusual UCS-4 byte orders
// name no charset.
constexpr std::array marques = std::to_array<TMarque>({
    { std::string_view("\x00\x00\xFE\xFF", 4), "UCS-4BE" },
    { std::string_view("\x00\x00\xFF\xFE", 4), "" },
    { std::string_view("\xFF\xFE\x00\x00", 4), "UCS-4LE" },
    { std::string_view("\xFE\xFF\x00\x00", 4), "" },
    { std::string_view("\xFE\xFF", 2), "UTF-16BE" },
    { std::string_view("\xFF\xFE", 2), "UTF-16LE" },
    { std::string_view("\xEF\xBB\xBF", 3), "UTF-8" },
});

// How the characters of a declaration are laid out in bytes: the size of one
// character and, for each of its bytes, the weight of that byte in the value.
// EBCDIC is single-byte but needs its own table.
struct TDisposition {
    std::string_view debut;
    std::size_t taille;
    std::array<int, 4> decalages;
    bool ebcdic;
};

constexpr std::array dispositions = std::to_array<TDisposition>({
    { std::string_view("\x00\x00\x00\x3C", 4), 4, { 24, 16, 8, 0 }, false },
    { std::string_view("\x3C\x00\x00\x00", 4), 4, { 0, 8, 16, 24 }, false },
    { std::string_view("\x00\x00\x3C\x00", 4), 4, { 16, 24, 0, 8 }, false },
    { std::string_view("\x00\x3C\x00\x00", 4), 4, { 8, 0, 24, 16 }, false },
    { std::string_view("\x00\x3C\x00\x3F", 4), 2, { 8, 0, 0, 0 }, false },
    { std::string_view("\x3C\x00\x3F\x00", 4), 2, { 0, 8, 0, 0 }, false },
    { std::string_view("\x3C\x3F\x78\x6D", 4), 1, { 0, 0, 0, 0 }, false },
    { std::string_view("\x4C\x6F\xA7\x94", 4), 1, { 0, 0, 0, 0 }, true },
});

// The characters a declaration is written with, from their EBCDIC bytes
// (those that all the usual EBCDIC code pages share). Any other byte reads as
// a character that cannot be part of a name.
char DepuisEbcdic(unsigned char b)
{
    if (b >= 0x81 && b <= 0x89)
        return static_cast<char>('a' + (b - 0x81));
    if (b >= 0x91 && b <= 0x99)
        return static_cast<char>('j' + (b - 0x91));
    if (b >= 0xA2 && b <= 0xA9)
        return static_cast<char>('s' + (b - 0xA2));
    if (b >= 0xC1 && b <= 0xC9)
        return static_cast<char>('A' + (b - 0xC1));
    if (b >= 0xD1 && b <= 0xD9)
        return static_cast<char>('J' + (b - 0xD1));
    if (b >= 0xE2 && b <= 0xE9)
        return static_cast<char>('S' + (b - 0xE2));
    if (b >= 0xF0 && b <= 0xF9)
        return static_cast<char>('0' + (b - 0xF0));
    switch (b) {
    case 0x05:
        return '\t';
    case 0x0D:
        return '\r';
    case 0x15:
    case 0x25:
        return '\n';
    case 0x40:
        return ' ';
    case 0x4B:
        return '.';
    case 0x4C:
        return '<';
    case 0x60:
        return '-';
    case 0x61:
        return '/';
    case 0x6D:
        return '_';
    case 0x6E:
        return '>';
    case 0x6F:
        return '?';
    case 0x7A:
        return ':';
    case 0x7D:
        return '\'';
    case 0x7E:
        return '=';
    case 0x7F:
        return '"';
    default:
        return '\x7F';
    }
}

// The declaration's characters up to and including its ">", as ASCII; empty
// when the body ends before the ">".
std::string TexteDeclaration(std::string_view octets, const TDisposition& d)
{
    std::string texte;
    for (std::size_t i = 0; i + d.taille <= octets.size(); i += d.taille) {
        char c;
        if (d.ebcdic) {
            c = DepuisEbcdic(static_cast<unsigned char>(octets[i]));
        } else {
            std::uint32_t valeur = 0;
            for (std::size_t k = 0; k < d.taille; ++k)
                valeur |= std::uint32_t(static_cast<unsigned char>(octets[i + k])) << d.decalages[k];
            c = valeur < 0x7F ? static_cast<char>(valeur) : '\x7F';
        }
        texte.push_back(c);
        if (c == '>')
            return texte;
    }
    return {};
}

bool EstBlanc(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The value of the "encoding" pseudo-attribute of a declaration
// "<?xml version=... encoding='...' ...?>", empty when it has none.
std::string Encodage(std::string_view declaration)
{
    constexpr std::string_view debut = "<?xml";
    if (declaration.substr(0, debut.size()) != debut || declaration.size() <= debut.size()
        || !EstBlanc(declaration[debut.size()]))
        return {};
    constexpr std::string_view nom = "encoding";
    std::size_t pos = debut.size();
    while ((pos = declaration.find(nom, pos)) != std::string_view::npos) {
        const bool separe = EstBlanc(declaration[pos - 1]);
        std::size_t i = pos + nom.size();
        pos = i;
        if (!separe)
            continue;
        while (i < declaration.size() && EstBlanc(declaration[i]))
            ++i;
        if (i >= declaration.size() || declaration[i] != '=')
            continue;
        ++i;
        while (i < declaration.size() && EstBlanc(declaration[i]))
            ++i;
        if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\''))
            return {};
        const char guillemet = declaration[i];
        const std::size_t fin = declaration.find(guillemet, i + 1);
        if (fin == std::string_view::npos)
            return {};
        return std::string(declaration.substr(i + 1, fin - i - 1));
    }
    return {};
}

} // namespace

TCharsetXml CharsetDeclareXml(std::string_view octets)
{
    if (octets.size() >= 3) {
        for (const TMarque& m : marques)
            if (octets.substr(0, m.octets.size()) == m.octets)
                return { std::string(m.charset), m.octets.size() };
    }
    if (octets.size() >= 4) {
        for (const TDisposition& d : dispositions)
            if (octets.substr(0, 4) == d.debut)
                return { Encodage(TexteDeclaration(octets, d)), 0 };
    }
    return {};
}

} // namespace tq
