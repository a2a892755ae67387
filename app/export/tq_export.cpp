// tq_export: the queries of the window's buttons, run from a script or a
// scheduled job. Same core as the window; the log goes to standard error.
#include <cstdio>
#include <iostream>
#include <string_view>

#include "app/commandes/commande.h"
#include "app/commandes/message_echec.h"
#include "app/export/ligne_commande.h"
#include "app/export/options_export.h"
#include "app/export/reglages_systeme.h"
#include "platform/texte_utf.h"
#include "results/arret_par_signal.h"

namespace {

using namespace tq;

// Standard error is a log that scheduled jobs keep for days: each line
// starts with the date and the time, whatever the locale, and a text of
// several lines (the socket failure's, an error body) gets a stamp on each,
// so that no carriage return of the core's CR LF reaches the file.
void Journaliser(std::string_view texte)
{
    const std::string horodatage = HorodatageLocal() + ": ";
    std::string lignes;
    std::size_t debut = 0;
    do {
        const std::size_t fin = std::min(texte.find_first_of("\r\n", debut), texte.size());
        lignes.append(horodatage).append(texte.substr(debut, fin - debut)).push_back('\n');
        debut = fin + (texte.compare(fin, 2, "\r\n") == 0 ? 2 : 1);
    } while (debut < texte.size());
    std::cerr << lignes << std::flush;
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

// The path of a UTF-8 argument: its bytes as they are on Linux, the UTF-16
// path they stand for on Windows.
std::filesystem::path CheminUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The commands that write no date and read no number leave the regional
// settings alone: a locale's data takes milliseconds to load, as much as a
// small export.
bool LitLesReglages(TCommande commande)
{
    return commande != TCommande::ListeAcces && commande != TCommande::ListeCentresJson;
}

int Executer(const TOptionsExport& options)
{
    TReglagesRegionaux reglages = LitLesReglages(options.commande) ? ReglagesSysteme() : TReglagesRegionaux {};
    if (options.formatDate)
        reglages = ReglagesDepuisLocale(*options.formatDate, reglages.separateurHeure, reglages.separateurDecimal);

    std::u16string resultatRequete;
    std::vector<TEnr_Centre> lstCentre;
    TContexteCommande contexte {
        [](std::u16string_view texte) { Journaliser(VersUtf8(texte)); },
        resultatRequete,
        lstCentre,
        reglages,
        options.url,
    };
    if (!LancerCommande(options.commande, { options.debut, options.fin }, contexte, CheminUtf8(options.fichier)))
        return 1;
    if (options.commande == TCommande::ListeCentresStat)
        AfficherCentres(lstCentre);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    ConsoleEnUtf8();
    SupprimerTemporaireAuxSignauxDArret();
    TOptionsExport options;
    try {
        options = LireOptionsExport(ArgumentsUtf8(argc, argv));
    } catch (const ErreurUsage& erreur) {
        Journaliser(std::string("tq_export : ") + erreur.what() + "\nVoir : tq_export --aide");
        return 2;
    }
    if (options.aide) {
        std::cout << TexteAideExport();
        return 0;
    }
    if (options.version) {
        std::cout << "tq_export " TQ_VERSION "\n";
        return 0;
    }
    try {
        return Executer(options);
    } catch (const std::exception& echec) {
        Journaliser(MessageEchec(echec));
    } catch (...) {
        Journaliser(MessageEchecInconnu());
    }
    return 1;
}
