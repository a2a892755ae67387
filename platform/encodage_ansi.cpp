#include "platform/encodage_ansi.h"

#include "platform/grand_tampon.h"
#include "platform/meilleur_ajustement.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tq {

namespace {

constexpr std::size_t GrandMorceau = std::size_t { 1 } << 20;

bool EstSubstitutBas(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Whether U+00A0 to U+00FF give the bytes of the same number, as they do in
// Windows-1252, so that accented letters need no look-up either.
enum class TLatin1 : std::uint8_t { ParLaTable, Direct };

// Whether a backslash that stands directly before a double quote is left out.
enum class TBarres : std::uint8_t { Gardees, RetireesDevantGuillemet };

// One pass over the text: each code unit is one table look-up and one byte
// stored in place. Every character gives exactly one byte, so the output
// sized for one byte per code unit up front always has room; a surrogate
// pair, one character in two code units, leaves it one byte shorter.
template <TBarres Barres> void Encoder(const TTableEncodage& table, std::string& sortie, std::u16string_view texte,
                                       [[maybe_unused]] TLatin1 latin1)
{
    const std::size_t debut = sortie.size();
    // Only a large piece asks for a reservation of its own: small pieces
    // appended one after the other rely on the string's geometric growth.
    if (texte.size() >= GrandMorceau)
        ReserverGrandTampon(sortie, debut + texte.size());
    sortie.resize(debut + texte.size());
    char* ecrit = sortie.data() + debut;
    const char16_t* lu = texte.data();
    const char16_t* const fin = lu + texte.size();
    while (lu < fin) {
#if defined(__SSE2__)
        // Runs of ASCII (and of accented Latin letters where they stand for
        // themselves), the bulk of any result file, go eight code units at a
        // time. The eight bytes are stored before they are known to be all
        // direct: the output has room for one byte per code unit left, and
        // the bytes past the run are written again below.
        if (fin - lu >= 8) {
            const __m128i unites = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lu));
            __m128i direct =
                _mm_cmpeq_epi16(_mm_and_si128(unites, _mm_set1_epi16(static_cast<short>(0xFF80))), _mm_setzero_si128());
            if (latin1 == TLatin1::Direct) {
                // U+00A0 to U+00FF are the bytes A0 to FF of Windows-1252.
                const __m128i haut =
                    _mm_and_si128(_mm_cmpeq_epi16(_mm_and_si128(unites, _mm_set1_epi16(static_cast<short>(0xFF00))),
                                                  _mm_setzero_si128()),
                                  _mm_cmpgt_epi16(unites, _mm_set1_epi16(0x9F)));
                direct = _mm_or_si128(direct, haut);
            }
            if constexpr (Barres == TBarres::RetireesDevantGuillemet)
                direct = _mm_andnot_si128(_mm_cmpeq_epi16(unites, _mm_set1_epi16(u'\\')), direct);
            const unsigned directs = static_cast<unsigned>(_mm_movemask_epi8(direct));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(ecrit), _mm_packus_epi16(unites, unites));
            if (directs == 0xFFFF) {
                ecrit += 8;
                lu += 8;
                continue;
            }
            const int n = __builtin_ctz(~directs) / 2;
            ecrit += n;
            lu += n;
        }
#endif
        // Without SSE2, and for the last few code units, four at a time.
        if (fin - lu >= 4) {
            std::uint64_t quatre;
            std::memcpy(&quatre, lu, sizeof quatre);
            const bool sansBarre =
                Barres == TBarres::Gardees || (lu[0] != u'\\' && lu[1] != u'\\' && lu[2] != u'\\' && lu[3] != u'\\');
            if ((quatre & 0xFF80FF80FF80FF80u) == 0 && sansBarre) {
                ecrit[0] = static_cast<char>(lu[0]);
                ecrit[1] = static_cast<char>(lu[1]);
                ecrit[2] = static_cast<char>(lu[2]);
                ecrit[3] = static_cast<char>(lu[3]);
                ecrit += 4;
                lu += 4;
                continue;
            }
        }
        if constexpr (Barres == TBarres::RetireesDevantGuillemet) {
            // The quote after the dropped backslash is written as any other
            // character, and the scan resumes behind it.
            if (*lu == u'\\' && fin - lu >= 2 && lu[1] == u'"') {
                *ecrit++ = '"';
                lu += 2;
                continue;
            }
        }
        const std::uint16_t code = table.code[*lu++];
        if (code == TTableEncodage::SubstitutHaut) {
            // A character beyond the first plane is one character: one "?".
            *ecrit++ = '?';
            if (lu < fin && EstSubstitutBas(*lu))
                ++lu;
            continue;
        }
        *ecrit++ = static_cast<char>(code);
    }
    sortie.resize(static_cast<std::size_t>(ecrit - sortie.data()));
}

// Direct when the ANSI code page writes U+00A0 to U+00FF as the bytes of the
// same number, as Windows-1252 does; another system code page goes through
// the table for them.
TLatin1 Latin1Ansi()
{
    static const TLatin1 latin1 = [] {
        const TTableEncodage& table = TableAnsi();
        for (char16_t c = 0xA0; c < 0x100; ++c)
            if (table.code[c] != c)
                return TLatin1::ParLaTable;
        return TLatin1::Direct;
    }();
    return latin1;
}

} // namespace

void AjouterEnAnsi(std::string& sortie, std::u16string_view texte)
{
    Encoder<TBarres::Gardees>(TableAnsi(), sortie, texte, Latin1Ansi());
}

void AjouterEnAnsiSansBarresDevantGuillemets(std::string& sortie, std::u16string_view texte)
{
    Encoder<TBarres::RetireesDevantGuillemet>(TableAnsi(), sortie, texte, Latin1Ansi());
}

std::string VersAnsi(std::u16string_view texte)
{
    std::string sortie;
    Encoder<TBarres::Gardees>(TableAnsi(), sortie, texte, Latin1Ansi());
    return sortie;
}

std::string ReductionAscii(std::u16string_view texte)
{
    std::string sortie;
    Encoder<TBarres::Gardees>(TableAscii(), sortie, texte, TLatin1::ParLaTable);
    return sortie;
}

} // namespace tq
