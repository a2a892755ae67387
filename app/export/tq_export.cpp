// tq_export: the queries of the window's buttons, run from a script or a
// scheduled job. Same core as the window; the log goes to standard error.
#include <cstdio>
#include <iostream>

#include <QDateTime>
#include <QLocale>

#include "app/commandes/commande.h"
#include "app/commandes/message_echec.h"
#include "app/export/options_export.h"
#include "app/reglages_qlocale.h"
#include "platform/texte_utf.h"

namespace {

using namespace tq;

void EcrireLigneLog(std::u16string_view texte, const TReglagesRegionaux& reglages)
{
    const QTime heure = QTime::currentTime();
    const std::chrono::hh_mm_ss<std::chrono::milliseconds> instant { std::chrono::milliseconds {
        heure.msecsSinceStartOfDay() } };
    std::cerr << VersUtf8(TexteHorodatage(instant, reglages)) << ": " << VersUtf8(texte) << '\n';
}

void AfficherCentres(const std::vector<TEnr_Centre>& centres)
{
    for (const TEnr_Centre& c : centres) {
        std::cout << c.ID << '\t' << c.codeMorva << '\t' << VersUtf8(c.codeTq) << '\t' << c.zone << '\t'
                  << VersUtf8(c.enseigne) << '\t' << VersUtf8(c.societe) << '\t' << VersUtf8(c.adresse1) << '\t'
                  << VersUtf8(c.adresse2) << '\t' << VersUtf8(c.codePostal) << '\t' << VersUtf8(c.ville) << '\t'
                  << VersUtf8(c.pays) << '\t' << VersUtf8(c.responsable) << '\t' << VersUtf8(c.siren) << '\t'
                  << VersUtf8(c.numeroTva) << '\t' << VersUtf8(c.adresseIp) << '\t' << VersUtf8(c.dateCreation) << '\t'
                  << (c.Modification ? 1 : 0) << '\n';
    }
}

int Executer(const TOptionsExport& options)
{
    TReglagesRegionaux reglages = ReglagesDepuisQLocale(QLocale::system());
    if (options.formatDate)
        reglages = ReglagesDepuisLocale(*options.formatDate, reglages.separateurHeure, reglages.separateurDecimal);

    std::u16string resultatRequete;
    std::vector<TEnr_Centre> lstCentre;
    TContexteCommande contexte {
        [&reglages](std::u16string_view texte) { EcrireLigneLog(texte, reglages); },
        resultatRequete,
        lstCentre,
        reglages,
        options.url,
    };
    const std::u16string requete = RequeteCommande(options.commande, options.debut, options.fin, reglages);
    contexte.ajouterLog(u"Interrogation en cours...");
    if (!InterrogerEtTraiter(options.commande, requete, contexte, std::filesystem::path(options.fichier)))
        return 1;
    if (options.commande == TCommande::ListeCentresStat)
        AfficherCentres(lstCentre);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    TOptionsExport options;
    try {
        options = LireOptionsExport(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ErreurUsage& erreur) {
        std::cerr << "tq_export : " << erreur.what() << "\n\n" << TexteAideExport();
        return 2;
    }
    if (options.aide) {
        std::cout << TexteAideExport();
        return 0;
    }
    try {
        return Executer(options);
    } catch (const std::exception& echec) {
        std::cerr << MessageEchec(echec) << '\n';
    } catch (...) {
        std::cerr << MessageEchecInconnu() << '\n';
    }
    return 1;
}
