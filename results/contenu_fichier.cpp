#include "results/contenu_fichier.h"

#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "json/souple/valeur_souple.h"
#include "platform/encodage_ansi.h"
#include "platform/grand_tampon.h"
#include "results/erreurs_resultats.h"

namespace tq {

namespace {

namespace js = json_souple;

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

// Appends the line with each backslash-quote pair replaced by a lone quote,
// scanning from left to right and resuming behind each replaced pair. The
// pieces between the dropped backslashes are converted as they are, so the
// line is never copied first.
void AjouterLigne(std::string& contenu, std::u16string_view ligne)
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

} // namespace

std::string ContenuFichierJson(std::u16string_view reponse)
{
    std::string contenu;
    ReserverGrandTampon(contenu, reponse.size() + 2);
    AjouterEnAnsi(contenu, reponse);
    contenu += "\r\n";
    return contenu;
}

std::string ContenuFichierResultats(std::u16string_view reponse)
{
    const std::optional<js::TDocumentSouple> document = js::ParseLenientText(reponse);
    if (!document)
        throw ErreurReponseIllisible();
    std::string contenu;
    const js::TValeurSouple* resultats = js::MemberByName(document->Racine(), u"resultats");
    if (resultats == nullptr)
        return contenu;
    // The lines take about as many bytes as the answer has characters: one
    // reservation avoids copying tens of megabytes as the file grows.
    ReserverGrandTampon(contenu, reponse.size());
    std::u16string json;
    for (const js::TValeurSouple& element : js::EnumerateElements(*resultats)) {
        if (element.Genre() == js::TGenreSouple::Texte) {
            AjouterLigne(contenu, element.Texte());
        } else {
            json.clear();
            js::AppendAsText(element, json);
            AjouterLigne(contenu, json);
        }
    }
    return contenu;
}

} // namespace tq
