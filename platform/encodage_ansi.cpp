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

// Whether the caller's rule for one character applies.
enum class TRegle : std::uint8_t { Aucune, Appliquee };

// Writes the run of code units from `lu` that stand for their own byte: ASCII,
// and U+00A0 to U+00FF where they are direct, but never the character of the
// rule. Returns where the run ends. The bytes are stored before they are known
// to be all direct: the output has room for one byte per code unit left, and
// the bytes past the run are written again by the caller.
template <TRegle Regle> const char16_t* EcrireDirects(const char16_t* lu, const char16_t* const fin, char*& sortie,
                                                      [[maybe_unused]] TLatin1 latin1,
                                                      [[maybe_unused]] char16_t special)
{
    // A local cursor, which the bytes stored through it cannot alias.
    char* ecrit = sortie;
    for (;;) {
#if defined(__SSE2__)
        // Runs of ASCII (and of accented Latin letters where they stand for
        // themselves), the bulk of any result file, go eight code units at a
        // time.
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
            if constexpr (Regle == TRegle::Appliquee)
                direct = _mm_andnot_si128(_mm_cmpeq_epi16(unites, _mm_set1_epi16(static_cast<short>(special))), direct);
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
        if (fin - lu < 4)
            break;
        std::uint64_t quatre;
        std::memcpy(&quatre, lu, sizeof quatre);
        if ((quatre & 0xFF80FF80FF80FF80u) != 0
            || (Regle == TRegle::Appliquee
                && (lu[0] == special || lu[1] == special || lu[2] == special || lu[3] == special)))
            break;
        for (int k = 0; k < 4; ++k)
            ecrit[k] = static_cast<char>(lu[k]);
        ecrit += 4;
        lu += 4;
    }
    sortie = ecrit;
    return lu;
}

// One pass over the text: each code unit is one table look-up and one byte
// stored in place. Every character gives exactly one byte, so the output
// sized for one byte per code unit up front always has room; a surrogate
// pair, one character in two code units, leaves it one byte shorter, and so
// does the rule when it covers more than one unit.
template <TRegle Regle> void Encoder(const TTableEncodage& table, std::string& sortie, std::u16string_view texte,
                                     TLatin1 latin1, const TRegleCaractere* regle = nullptr)
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
    const char16_t special = Regle == TRegle::Appliquee ? regle->caractere : u'\0';
    while (lu < fin) {
        lu = EcrireDirects<Regle>(lu, fin, ecrit, latin1, special);
        if (lu == fin)
            break;
        if constexpr (Regle == TRegle::Appliquee) {
            if (*lu == special) {
                const TRegleCaractere::TEcriture ecriture = regle->ecrire({ lu, static_cast<std::size_t>(fin - lu) });
                *ecrit++ = ecriture.octet;
                lu += ecriture.unites;
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
    Encoder<TRegle::Aucune>(TableAnsi(), sortie, texte, Latin1Ansi());
}

void AjouterEnAnsi(std::string& sortie, std::u16string_view texte, const TRegleCaractere& regle)
{
    Encoder<TRegle::Appliquee>(TableAnsi(), sortie, texte, Latin1Ansi(), &regle);
}

std::string VersAnsi(std::u16string_view texte)
{
    std::string sortie;
    Encoder<TRegle::Aucune>(TableAnsi(), sortie, texte, Latin1Ansi());
    return sortie;
}

std::string ReductionAscii(std::u16string_view texte)
{
    std::string sortie;
    Encoder<TRegle::Aucune>(TableAscii(), sortie, texte, TLatin1::ParLaTable);
    return sortie;
}

} // namespace tq
