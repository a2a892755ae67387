#include "results/contenu_fichier.h"

#include <optional>

#include "json/souple/valeur_souple.h"
#include "platform/encodage_ansi.h"
#include "platform/grand_tampon.h"
#include "results/erreurs_resultats.h"
#include "results/ligne_resultat.h"

namespace tq {

namespace js = json_souple;

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
            AjouterLigneResultat(contenu, element.Texte());
        } else {
            json.clear();
            js::AppendAsText(element, json);
            AjouterLigneResultat(contenu, json);
        }
    }
    return contenu;
}

} // namespace tq
