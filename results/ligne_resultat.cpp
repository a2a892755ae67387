#include "results/ligne_resultat.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/encodage_ansi.h"

namespace tq {

namespace {

// The index of the first backslash at or after `debut`, or the line's size;
// eight code units at a time, since most lines have none.
std::size_t ProchaineBarre(std::u16string_view ligne, std::size_t debut)
{
#if defined(__SSE2__)
    const __m128i barre = _mm_set1_epi16(u'\\');
    for (; debut + 8 <= ligne.size(); debut += 8) {
        const __m128i unites = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ligne.data() + debut));
        const unsigned masque = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(unites, barre)));
        if (masque != 0)
            return debut + static_cast<std::size_t>(__builtin_ctz(masque)) / 2;
    }
#endif
    while (debut < ligne.size() && ligne[debut] != u'\\')
        ++debut;
    return debut;
}

} // namespace

// The pieces between the dropped backslashes are converted as they are, so
// the line is never copied first.
void AjouterLigneResultat(std::string& contenu, std::u16string_view ligne)
{
    std::size_t debut = 0;
    std::size_t barre = ProchaineBarre(ligne, 0);
    while (barre < ligne.size()) {
        if (barre + 1 < ligne.size() && ligne[barre + 1] == u'"') {
            AjouterEnAnsi(contenu, ligne.substr(debut, barre - debut));
            debut = barre + 1; // the quote itself starts the next piece
            barre = ProchaineBarre(ligne, barre + 2);
        } else {
            barre = ProchaineBarre(ligne, barre + 1);
        }
    }
    AjouterEnAnsi(contenu, ligne.substr(debut));
    contenu += "\r\n";
}

} // namespace tq
