#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/commandes/type_fichier.h"
#include "platform/reglages_regionaux.h"
#include "query/requete.h"
#include "query/transport.h"
#include "results/centre.h"

namespace tq {

// The five query commands, one per button of the window.
enum class TCommande {
    ListeCentresStat, // "Liste des centres": the directory and both lists
    ExporterGlobale,  // "Statistiques (CSV)" of the "Global" group
    ExporterCentre,   // "Statistiques (CSV)" of the "Centre" group
    ListeAcces,       // "Liste des accès (CSV)"
    ListeCentresJson, // "Liste des centres (JSON)"
};

// What one command does, apart from the common workflow.
struct TDescriptionCommande {
    // The file type the save dialog shows first; none for a command without
    // a dialog.
    std::optional<TTypeFichier> typeFichier;
    TTypeRequete requete;
    // Logs "Analyse des données" before the result step and "Terminé" after it.
    bool journaliseAnalyse;
    // Asks "Voulez-vous ouvrir le fichier généré ?" at the end.
    bool proposeOuverture;
};

const TDescriptionCommande& DescriptionCommande(TCommande commande);

// What a command works on, owned by its caller (the window or tq_export).
struct TContexteCommande {
    TAjouterLog ajouterLog;
    std::u16string& resultatRequete;
    std::vector<TEnr_Centre>& lstCentre;
    TReglagesRegionaux reglages;
    std::string url = UrlServeurStatistiques();
};

// Runs the command once its file is chosen: the request text (the dated
// commands send the period; the "Centre" group's button starts it on the
// first day of the month of its start day), the log line "Interrogation en
// cours...", then `Interroger`, and "Erreur lors de l'interrogation" on an HTTP error, or
// "Interrogation terminée avec succès", the result step (the centre directory
// or the file at `fichier`) and its log lines. True when the result step has
// run; every failure other than an HTTP error passes out unchanged.
bool LancerCommande(TCommande commande, const TPeriode& periode, TContexteCommande& contexte,
                    const std::filesystem::path& fichier = {});

} // namespace tq
