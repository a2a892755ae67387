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

struct TLignesResultats::TDocument {
    js::TDocumentSouple lu;
};

TLignesResultats::TLignesResultats(std::u16string_view reponse)
{
    std::optional<js::TDocumentSouple> lu = js::ParseLenientText(reponse);
    if (!lu)
        throw ErreurReponseIllisible();
    document_ = std::make_unique<TDocument>(TDocument { std::move(*lu) });
}

TLignesResultats::~TLignesResultats() = default;

void TLignesResultats::Ajouter(std::string& sortie, const std::function<void()>& apresLigne) const
{
    const js::TValeurSouple* resultats = js::MemberByName(document_->lu.Racine(), u"resultats");
    if (resultats == nullptr)
        return;
    std::u16string json;
    for (const js::TValeurSouple& element : js::EnumerateElements(*resultats)) {
        if (element.Genre() == js::TGenreSouple::Texte) {
            AjouterLigneResultat(sortie, element.Texte());
        } else {
            json.clear();
            js::AppendAsText(element, json);
            AjouterLigneResultat(sortie, json);
        }
        apresLigne();
    }
}

std::string ContenuFichierResultats(std::u16string_view reponse)
{
    const TLignesResultats lignes(reponse);
    std::string contenu;
    // The lines take about as many bytes as the answer has characters: one
    // reservation avoids copying tens of megabytes as the file grows.
    lignes.Ajouter(contenu, [&contenu, taille = reponse.size()] {
        if (contenu.capacity() < taille)
            ReserverGrandTampon(contenu, taille);
    });
    return contenu;
}

} // namespace tq
