#pragma once

// Internal to the lenient reader: finds the next code unit that ends a run of
// plain text. Long texts are the bulk of an answer, so the search looks at
// eight code units at a time where the processor allows it.

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "json/souple/pile_brute.h"

namespace tq::json_souple {

// The first code unit of [p, fin) that is 0, `a`, `b` or `c`; `fin` if none.
inline const char16_t* ChercherUnite(const char16_t* p, const char16_t* fin, char16_t a, char16_t b,
                                     char16_t c) noexcept
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
    const __m128i zero = _mm_setzero_si128();
    for (; fin - p >= 8; p += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i egaux = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)),
                                           _mm_or_si128(_mm_cmpeq_epi16(v, vc), _mm_cmpeq_epi16(v, zero)));
        const int masque = _mm_movemask_epi8(egaux);
        if (masque != 0)
            return p + (std::countr_zero(static_cast<unsigned>(masque)) >> 1);
    }
#endif
    for (; p < fin; ++p) {
        const char16_t u = *p;
        if (u == 0 || u == a || u == b || u == c)
            return p;
    }
    return fin;
}

// Appends the code units of [p, fin) to `sortie` up to the first that is 0,
// `a` or `b`, and returns where it stopped (`fin` if none).
inline const char16_t* CopierJusquA(const char16_t* p, const char16_t* fin, char16_t a, char16_t b,
                                    TPileBrute<char16_t>& sortie)
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i zero = _mm_setzero_si128();
    for (; fin - p >= 8; p += 8) {
        // Eight code units are stored before they are looked at; only those
        // before the stop are counted.
        char16_t* ecriture = sortie.reserver(8);
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(ecriture), v);
        const __m128i egaux =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)), _mm_cmpeq_epi16(v, zero));
        const int masque = _mm_movemask_epi8(egaux);
        if (masque != 0) {
            const int avant = std::countr_zero(static_cast<unsigned>(masque)) >> 1;
            sortie.avancer(static_cast<std::size_t>(avant));
            return p + avant;
        }
        sortie.avancer(8);
    }
#endif
    for (; p < fin; ++p) {
        const char16_t u = *p;
        if (u == 0 || u == a || u == b)
            return p;
        sortie.push_back(u);
    }
    return fin;
}

} // namespace tq::json_souple
