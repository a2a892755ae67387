#include "platform/decodage_charset.h"

#include "platform/caracteres.h"
#include "platform/charset_xml.h"
#include "platform/conversion_plateforme.h"
#include "platform/grand_tampon.h"
#include "platform/registre_charsets.h"
#include "platform/texte_utf.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace tq {

namespace {

constexpr char16_t Remplacement = 0xFFFD;

// A text of n code units, in one allocation (on huge pages when large:
// filling fresh memory otherwise costs a page fault every 4 KiB, more than the
// decoding itself).
std::u16string TexteDeTaille(std::size_t n)
{
    std::u16string texte;
    ReserverGrandTexte(texte, n);
    texte.resize(n);
    return texte;
}

std::u16string DecoderSansCharset(std::string_view octets)
{
    std::u16string texte = TexteDeTaille(octets.size());
    for (std::size_t i = 0; i < octets.size(); ++i)
        texte[i] = static_cast<unsigned char>(octets[i]);
    return texte;
}

// US-ASCII, and the two code pages that the decoding treats like it.
std::u16string DecoderAsciiStrict(std::string_view octets)
{
    std::u16string texte = TexteDeTaille(octets.size());
    for (std::size_t i = 0; i < octets.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(octets[i]);
        texte[i] = b < 0x80 ? char16_t(b) : Remplacement;
    }
    return texte;
}

// Which byte of a UTF-16 code unit comes first.
enum class TBoutisme { Petit, Gros };

// Code units are copied as they are, unpaired surrogates included; a last odd
// byte cannot make a unit and becomes U+FFFD.
std::u16string DecoderUtf16(std::string_view octets, TBoutisme boutisme)
{
    std::u16string texte = TexteDeTaille(octets.size() / 2 + octets.size() % 2);
    const int fort = boutisme == TBoutisme::Gros ? 0 : 1;
    for (std::size_t i = 0; i + 1 < octets.size(); i += 2) {
        const auto haut = static_cast<unsigned char>(octets[i + fort]);
        const auto bas = static_cast<unsigned char>(octets[i + 1 - fort]);
        texte[i / 2] = static_cast<char16_t>((haut << 8) | bas);
    }
    if (octets.size() % 2 != 0)
        texte.back() = Remplacement;
    return texte;
}

// "type/subtype" in lower case, without parameters or blanks.
std::string Essence(std::string_view typeMedia)
{
    typeMedia = typeMedia.substr(0, typeMedia.find(';'));
    std::string essence;
    for (char c : typeMedia)
        if (c != ' ' && c != '\t')
            essence.push_back(MinusculeAscii(c));
    return essence;
}

bool EstTypeXml(std::string_view typeMedia)
{
    const std::string essence = Essence(typeMedia);
    if (essence == "application/xml" || essence == "application/xml-external-parsed-entity"
        || essence == "application/xml-dtd")
        return true;
    const std::size_t barre = essence.find('/');
    if (barre == std::string::npos || essence.substr(0, barre) == "text")
        return false;
    constexpr std::string_view suffixe = "+xml";
    return essence.size() - barre - 1 >= suffixe.size() && essence.ends_with(suffixe);
}

} // namespace

std::u16string DecoderCodePage(std::string_view octets, int codePage)
{
    switch (codePage) {
    case CodePageAucun:
        return DecoderSansCharset(octets);
    case CodePageUsAscii:
    case CodePageOem437:
    case CodePageWindows1252:
        return DecoderAsciiStrict(octets);
    case CodePageUtf16Le:
        return DecoderUtf16(octets, TBoutisme::Petit);
    case CodePageUtf16Be:
        return DecoderUtf16(octets, TBoutisme::Gros);
    case CodePageUtf8:
        return DepuisUtf8(octets);
    case CodePageLatin1:
        // The same mapping as the library's, without its cost.
        return DecoderSansCharset(octets);
    default:
        break;
    }
    if (std::optional<std::u16string> texte = DecoderParLaPlateforme(octets, codePage))
        return std::move(*texte);
    return DecoderSansCharset(octets);
}

std::u16string DecoderCorps(std::string_view octets, std::string_view typeMedia, std::string_view charset)
{
    if (EstTypeXml(typeMedia)) {
        const TCharsetXml declare = CharsetDeclareXml(octets);
        return DecoderCodePage(octets.substr(declare.longueurMarque), CodePageCharset(declare.charset));
    }
    return DecoderCodePage(octets, CodePageCharset(charset));
}

bool CorpsEnUtf8(std::string_view typeMedia, std::string_view charset)
{
    return !EstTypeXml(typeMedia) && CodePageCharset(charset) == CodePageUtf8;
}

} // namespace tq
