#include "app/commandes/commande.h"

#include "results/chargement_centres.h"
#include "results/enregistrement.h"

namespace tq {

namespace {

// One row per command, in the order of TCommande.
constexpr TDescriptionCommande descriptions[] = {
    // ListeCentresStat
    { .typeFichier = std::nullopt,
      .requete = TTypeRequete::ListeCentres,
      .journaliseAnalyse = false,
      .proposeOuverture = false },
    // ExporterGlobale
    { .typeFichier = TTypeFichier::Csv,
      .requete = TTypeRequete::StatistiquesPeriode,
      .journaliseAnalyse = true,
      .proposeOuverture = true },
    // ExporterCentre
    { .typeFichier = TTypeFichier::Csv,
      .requete = TTypeRequete::StatistiquesPeriode,
      .journaliseAnalyse = true,
      .proposeOuverture = true },
    // ListeAcces
    { .typeFichier = TTypeFichier::Csv,
      .requete = TTypeRequete::ListeAcces,
      .journaliseAnalyse = true,
      .proposeOuverture = true },
    // ListeCentresJson
    { .typeFichier = TTypeFichier::Json,
      .requete = TTypeRequete::ListeCentres,
      .journaliseAnalyse = false,
      .proposeOuverture = true },
};

std::u16string RequeteCommande(TCommande commande, TPeriode periode, const TReglagesRegionaux& reglages)
{
    if (commande == TCommande::ExporterCentre)
        periode.debut = PremierJourDuMois(periode.debut);
    return ConstruireRequete(descriptions[static_cast<std::size_t>(commande)].requete, periode, reglages);
}

} // namespace

const TDescriptionCommande& DescriptionCommande(TCommande commande)
{
    return descriptions[static_cast<std::size_t>(commande)];
}

bool LancerCommande(TCommande commande, const TPeriode& periode, TContexteCommande& contexte,
                    const std::filesystem::path& fichier)
{
    const TDescriptionCommande& description = DescriptionCommande(commande);
    const std::u16string requete = RequeteCommande(commande, periode, contexte.reglages);
    contexte.ajouterLog(u"Interrogation en cours...");
    if (!Interroger(requete, contexte.resultatRequete, contexte.ajouterLog, contexte.url)) {
        contexte.ajouterLog(u"Erreur lors de l'interrogation");
        return false;
    }
    contexte.ajouterLog(u"Interrogation terminée avec succès");
    if (description.journaliseAnalyse)
        contexte.ajouterLog(u"Analyse des données");
    switch (commande) {
    case TCommande::ListeCentresStat:
        ChargerCentres(contexte.resultatRequete, contexte.lstCentre, contexte.reglages);
        break;
    case TCommande::ListeCentresJson:
        EnregistrerJson(contexte.resultatRequete, fichier);
        break;
    case TCommande::ExporterGlobale:
    case TCommande::ExporterCentre:
    case TCommande::ListeAcces:
        EnregistrerResultats(contexte.resultatRequete, fichier);
        break;
    }
    if (description.journaliseAnalyse)
        contexte.ajouterLog(u"Terminé");
    return true;
}

} // namespace tq
