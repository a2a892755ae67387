#include "server/reponse.h"

#include "server/base.h"
#include "server/ecriture_json.h"
#include "server/erreurs_serveur.h"
#include "server/lecture_requete.h"
#include "server/requete_acces.h"
#include "server/requete_centres.h"
#include "server/requete_statistiques.h"

#include <vector>

namespace tq {

namespace {

std::string DocumentResultats(const std::vector<std::u16string>& lignes)
{
    TEcrivainJson json;
    json.DebutObjet();
    json.Nom(u"resultats");
    json.DebutTableau();
    for (const std::u16string& ligne : lignes)
        json.Texte(ligne);
    json.FinTableau();
    json.FinObjet();
    return json.Json();
}

std::string CorpsJson(const TRequete& requete, const TConfigurationServeur& configuration)
{
    TBase base(configuration.base, TBase::TMode::Lecture);
    switch (requete.genre) {
    case TGenreRequete::ListeCentres:
        return ReponseListeCentres(base);
    case TGenreRequete::Statistiques:
        return DocumentResultats(LignesStatistiques(base, requete.debut, requete.fin));
    case TGenreRequete::ListeAcces:
        return DocumentResultats(LignesAcces(base, configuration.formatDate));
    }
    throw Erreur("Requête non prise en charge.");
}

TReponse Texte(int statut, std::string texte)
{
    return TReponse { statut, typeTexte, std::move(texte) };
}

} // namespace

TReponse Repondre(std::string_view corps, const TConfigurationServeur& configuration)
{
    try {
        const TRequete requete = LireRequete(corps, configuration.formatDate);
        return TReponse { 200, typeJson, CorpsJson(requete, configuration) };
    } catch (const ErreurRequete& e) {
        return Texte(400, e.what());
    } catch (const ErreurBase& e) {
        return Texte(500, e.what());
    } catch (const std::exception&) {
        return Texte(500, "Erreur interne du serveur.");
    }
}

} // namespace tq
