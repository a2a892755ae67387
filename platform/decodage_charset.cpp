#include "platform/decodage_charset.h"

#include "platform/charset_xml.h"
#include "platform/registre_charsets.h"

#include <unicode/ucnv.h>

#include <sys/mman.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tq {

namespace {

constexpr char16_t Remplacement = 0xFFFD;

// A text of n code units, in one allocation. For a large text it also asks
// the system for huge pages: filling fresh memory otherwise costs a page
// fault every 4 KiB, more than the decoding itself.
std::u16string TexteDeTaille(std::size_t n)
{
    std::u16string texte;
    texte.reserve(n);
    constexpr std::size_t GrandePage = std::size_t { 2 } << 20;
    const std::size_t octets = n * sizeof(char16_t);
    if (octets >= 4 * GrandePage) {
        const auto adresse = reinterpret_cast<std::uintptr_t>(texte.data());
        const std::uintptr_t debut = (adresse + GrandePage - 1) & ~(GrandePage - 1);
        const std::uintptr_t fin = (adresse + octets) & ~(GrandePage - 1);
        if (fin > debut)
            madvise(reinterpret_cast<void*>(debut), fin - debut, MADV_HUGEPAGE);
    }
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

// Code units are copied as they are, unpaired surrogates included; a last odd
// byte cannot make a unit and becomes U+FFFD.
std::u16string DecoderUtf16(std::string_view octets, bool grosBoutiste)
{
    std::u16string texte = TexteDeTaille(octets.size() / 2 + octets.size() % 2);
    const int fort = grosBoutiste ? 0 : 1;
    for (std::size_t i = 0; i + 1 < octets.size(); i += 2) {
        const auto haut = static_cast<unsigned char>(octets[i + fort]);
        const auto bas = static_cast<unsigned char>(octets[i + 1 - fort]);
        texte[i / 2] = static_cast<char16_t>((haut << 8) | bas);
    }
    if (octets.size() % 2 != 0)
        texte.back() = Remplacement;
    return texte;
}

bool EstSuite(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// UTF-8 in one pass, straight into the result. An ill-formed sequence gives
// one U+FFFD for each maximal part of a well-formed sequence it begins with,
// so that the bytes after it are read as they would be on their own.
std::u16string DecoderUtf8(std::string_view octets)
{
    std::u16string texte = TexteDeTaille(octets.size());
    char16_t* sortie = texte.data();
    const auto* p = reinterpret_cast<const unsigned char*>(octets.data());
    const auto* const fin = p + octets.size();
    while (p < fin) {
        // Runs of ASCII are the common case: sixteen bytes at a time, the
        // ASCII bytes in front of a multi-byte sequence included. Writing
        // sixteen units stays inside the text, which has one unit per byte.
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        while (fin - p >= 16) {
            const __m128i seize = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sortie), _mm_unpacklo_epi8(seize, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(sortie + 8), _mm_unpackhi_epi8(seize, zero));
            const int hauts = _mm_movemask_epi8(seize);
            if (hauts != 0) {
                const int ascii = __builtin_ctz(static_cast<unsigned>(hauts));
                p += ascii;
                sortie += ascii;
                break;
            }
            p += 16;
            sortie += 16;
        }
#else
        while (fin - p >= 8) {
            std::uint64_t mot;
            std::memcpy(&mot, p, 8);
            if ((mot & 0x8080808080808080ULL) != 0)
                break;
            for (int k = 0; k < 8; ++k)
                sortie[k] = p[k];
            p += 8;
            sortie += 8;
        }
#endif
        if (p >= fin)
            break;
        const unsigned char b = *p;
        if (b < 0x80) {
            *sortie++ = b;
            ++p;
            continue;
        }
        const std::ptrdiff_t reste = fin - p;
        if (b >= 0xC2 && b <= 0xDF) {
            if (reste >= 2 && EstSuite(p[1])) {
                *sortie++ = static_cast<char16_t>(((b & 0x1F) << 6) | (p[1] & 0x3F));
                p += 2;
            } else {
                *sortie++ = Remplacement;
                p += 1;
            }
        } else if (b >= 0xE0 && b <= 0xEF) {
            // E0 must not begin an overlong form, ED must not encode a surrogate.
            const unsigned char min = b == 0xE0 ? 0xA0 : 0x80;
            const unsigned char max = b == 0xED ? 0x9F : 0xBF;
            if (reste >= 2 && p[1] >= min && p[1] <= max) {
                if (reste >= 3 && EstSuite(p[2])) {
                    *sortie++ = static_cast<char16_t>(((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
                    p += 3;
                } else {
                    *sortie++ = Remplacement;
                    p += 2;
                }
            } else {
                *sortie++ = Remplacement;
                p += 1;
            }
        } else if (b >= 0xF0 && b <= 0xF4) {
            // F0 must not begin an overlong form, F4 must stay below U+110000.
            const unsigned char min = b == 0xF0 ? 0x90 : 0x80;
            const unsigned char max = b == 0xF4 ? 0x8F : 0xBF;
            if (reste >= 2 && p[1] >= min && p[1] <= max) {
                if (reste >= 3 && EstSuite(p[2])) {
                    if (reste >= 4 && EstSuite(p[3])) {
                        const char32_t point = (char32_t(b & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12)
                            | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
                        *sortie++ = static_cast<char16_t>(0xD7C0 + (point >> 10));
                        *sortie++ = static_cast<char16_t>(0xDC00 + (point & 0x3FF));
                        p += 4;
                    } else {
                        *sortie++ = Remplacement;
                        p += 3;
                    }
                } else {
                    *sortie++ = Remplacement;
                    p += 2;
                }
            } else {
                *sortie++ = Remplacement;
                p += 1;
            }
        } else {
            *sortie++ = Remplacement;
            p += 1;
        }
    }
    texte.resize(static_cast<std::size_t>(sortie - texte.data()));
    return texte;
}

struct TFermeConvertisseur {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using TConvertisseur = std::unique_ptr<UConverter, TFermeConvertisseur>;

TConvertisseur OuvrirConvertisseur(int codePage)
{
    const std::string_view nom = NomConvertisseur(codePage);
    if (nom.empty())
        return nullptr;
    UErrorCode statut = U_ZERO_ERROR;
    TConvertisseur c(ucnv_open(std::string(nom).c_str(), &statut));
    if (U_FAILURE(statut))
        return nullptr;
    return c;
}

// Through the conversion library, in pieces so that no length has to fit the
// library's 32-bit counts.
std::u16string DecoderBibliotheque(UConverter* convertisseur, std::string_view octets)
{
    std::u16string texte;
    texte.resize(octets.size() + 16);
    const char* source = octets.data();
    const char* const finSource = source + octets.size();
    std::size_t ecrits = 0;
    for (;;) {
        if (texte.size() - ecrits < 16)
            texte.resize(texte.size() * 2);
        constexpr std::size_t PieceMax = std::size_t(1) << 30;
        const std::size_t place = std::min(texte.size() - ecrits, PieceMax);
        UChar* cible = reinterpret_cast<UChar*>(texte.data() + ecrits);
        UChar* const debutCible = cible;
        UErrorCode statut = U_ZERO_ERROR;
        ucnv_toUnicode(convertisseur, &cible, cible + place, &source, finSource, nullptr, true, &statut);
        ecrits += static_cast<std::size_t>(cible - debutCible);
        if (statut == U_BUFFER_OVERFLOW_ERROR)
            continue;
        break;
    }
    texte.resize(ecrits);
    return texte;
}

char MinusculeAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// "type/subtype" in lower case, without parameters or blanks.
std::string Essence(std::string_view typeMedia)
{
    typeMedia = typeMedia.substr(0, typeMedia.find(';'));
    std::string essence;
    for (char c : typeMedia) {
        if (c != ' ' && c != '\t')
            essence.push_back(MinusculeAscii(c));
    }
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
        return DecoderUtf16(octets, false);
    case CodePageUtf16Be:
        return DecoderUtf16(octets, true);
    case CodePageUtf8:
        return DecoderUtf8(octets);
    case CodePageLatin1:
        // The same mapping as the library's, without its cost.
        return DecoderSansCharset(octets);
    default:
        break;
    }
    TConvertisseur convertisseur = OuvrirConvertisseur(codePage);
    if (!convertisseur)
        return DecoderSansCharset(octets);
    return DecoderBibliotheque(convertisseur.get(), octets);
}

bool CodePageDisponible(int codePage)
{
    switch (codePage) {
    case CodePageUsAscii:
    case CodePageOem437:
    case CodePageWindows1252:
    case CodePageUtf16Le:
    case CodePageUtf16Be:
    case CodePageUtf8:
    case CodePageLatin1:
        return true;
    default:
        return OuvrirConvertisseur(codePage) != nullptr;
    }
}

std::u16string DecoderCorps(std::string_view octets, std::string_view typeMedia, std::string_view charset)
{
    if (EstTypeXml(typeMedia)) {
        const TCharsetXml declare = CharsetDeclareXml(octets);
        return DecoderCodePage(octets.substr(declare.longueurMarque), CodePageCharset(declare.charset));
    }
    return DecoderCodePage(octets, CodePageCharset(charset));
}

} // namespace tq
