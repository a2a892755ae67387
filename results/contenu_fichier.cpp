#include "results/contenu_fichier.h"

#include <optional>
#include <span>

#include "json/souple/valeur_souple.h"
#include "platform/encodage_ansi.h"
#include "platform/grand_tampon.h"
#include "results/erreurs_resultats.h"
#include "results/ligne_resultat.h"

namespace tq {

namespace js = json_souple;

std::string ContenuFichierJson(std::u16string_view reponse)
{
    // A byte-order mark that the decoding of a UTF-8 answer kept marks that
    // encoding and is no character of the text; written as "?" it would leave
    // a file that no longer reads as JSON.
    if (reponse.starts_with(u'\uFEFF'))
        reponse.remove_prefix(1);
    std::string contenu;
    ReserverGrandTampon(contenu, reponse.size() + 2);
    AjouterEnAnsi(contenu, reponse);
    contenu += "\r\n";
    return contenu;
}

struct TLignesResultats::TDocument {
    js::TDocumentSouple lu;
    std::span<const js::TValeurSouple> elements;
    // The compact JSON of an element that is not a text, reused from line to
    // line.
    std::u16string json;
};

TLignesResultats::TLignesResultats(std::u16string_view reponse)
{
    // The same mark before the result lines: read as the start of an
    // unquoted text, it would leave no "resultats" and an empty file.
    if (reponse.starts_with(u'\uFEFF'))
        reponse.remove_prefix(1);
    std::optional<js::TDocumentSouple> lu = js::ParseLenientText(reponse);
    if (!lu)
        throw ErreurReponseIllisible();
    document_ = std::make_unique<TDocument>(TDocument { std::move(*lu), {}, {} });
    if (const js::TValeurSouple* resultats = js::MemberByName(document_->lu.Racine(), u"resultats"))
        document_->elements = js::EnumerateElements(*resultats);
    nombre_ = document_->elements.size();
}

TLignesResultats::~TLignesResultats() = default;

void TLignesResultats::AjouterSuivantes(std::string& sortie, std::size_t taille)
{
    while (suivante_ < nombre_) {
        const js::TValeurSouple& element = document_->elements[suivante_++];
        if (element.Genre() == js::TGenreSouple::Texte) {
            AjouterLigneResultat(sortie, element.Texte());
        } else {
            document_->json.clear();
            js::AsText(element, document_->json);
            AjouterLigneResultat(sortie, document_->json);
        }
        if (sortie.size() >= taille)
            return;
    }
}

} // namespace tq
