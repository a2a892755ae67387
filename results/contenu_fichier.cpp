#include "results/contenu_fichier.h"

#include <optional>

#include "json/souple/valeur_souple.h"
#include "platform/encodage_ansi.h"
#include "platform/grand_tampon.h"
#include "results/erreurs_resultats.h"

namespace tq {

namespace {

namespace js = json_souple;

constexpr std::u16string_view BarreGuillemet = u"\\\"";

// Appends the line with each backslash-quote pair replaced by a lone quote,
// scanning from left to right and resuming behind each replaced pair. The
// pieces between the dropped backslashes are converted as they are, so the
// line is never copied first.
void AjouterLigne(std::string& contenu, std::u16string_view ligne)
{
    std::size_t debut = 0;
    for (std::size_t paire = ligne.find(BarreGuillemet); paire != std::u16string_view::npos;
         paire = ligne.find(BarreGuillemet, paire + BarreGuillemet.size())) {
        AjouterEnAnsi(contenu, ligne.substr(debut, paire - debut));
        debut = paire + 1; // the quote itself starts the next piece
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
