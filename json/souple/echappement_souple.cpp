#include "json/souple/echappement_souple.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tq::json_souple {

bool DecoderEchappements(const char16_t* debut, const char16_t* fin, char16_t* sortie, TTexteDecode& decode) noexcept
{
    char16_t* ecriture = sortie;
    char16_t* protege = sortie;
    const char16_t* p = debut;
    for (;;) {
#if defined(__SSE2__)
        // Eight code units are copied at a time, whether they hold a
        // backslash or not; the output has room for that (MargeDecodage).
        const __m128i barre = _mm_set1_epi16(u'\\');
        int masque = 0;
        while (fin - p >= 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(ecriture), v);
            masque = _mm_movemask_epi8(_mm_cmpeq_epi16(v, barre));
            if (masque != 0)
                break;
            p += 8;
            ecriture += 8;
        }
        if (masque != 0) {
            const int avant = std::countr_zero(static_cast<unsigned>(masque)) >> 1;
            p += avant;
            ecriture += avant;
        } else
#endif
        {
            while (p < fin && *p != u'\\')
                *ecriture++ = *p++;
            if (p == fin)
                break;
        }
        ++p;
        if (p == fin) {
            *ecriture++ = u'\\';
            break;
        }
        char16_t unite = 0;
        if (!DecoderEchappement(p, fin, unite))
            return false;
        *ecriture++ = unite;
        protege = ecriture;
    }
    decode.taille = static_cast<std::size_t>(ecriture - sortie);
    decode.protege = static_cast<std::size_t>(protege - sortie);
    return true;
}

} // namespace tq::json_souple
