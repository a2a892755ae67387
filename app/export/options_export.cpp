#include "app/export/options_export.h"

#include <charconv>

#include "platform/reglages_regionaux.h"
#include "platform/texte_utf.h"

namespace tq {

namespace {

// "AAAA-MM-JJ", a real calendar day.
std::chrono::year_month_day LireDateIso(const std::string& texte, const char* option)
{
    int annee = 0;
    unsigned mois = 0, jour = 0;
    const char* debut = texte.data();
    const char* fin = texte.data() + texte.size();
    auto lire = [&](auto& valeur, std::size_t chiffres, bool tiretApres) {
        if (static_cast<std::size_t>(fin - debut) < chiffres)
            return false;
        auto [suite, erreur] = std::from_chars(debut, debut + chiffres, valeur);
        if (erreur != std::errc {} || suite != debut + chiffres)
            return false;
        debut = suite;
        if (tiretApres) {
            if (debut == fin || *debut != '-')
                return false;
            ++debut;
        }
        return true;
    };
    const bool lu = lire(annee, 4, true) && lire(mois, 2, true) && lire(jour, 2, false) && debut == fin;
    const std::chrono::year_month_day date { std::chrono::year { annee }, std::chrono::month { mois },
                                             std::chrono::day { jour } };
    if (!lu || !date.ok())
        throw ErreurUsage(std::string("date invalide pour ") + option + " : « " + texte
                          + " » (forme attendue AAAA-MM-JJ)");
    return date;
}

struct TCommandeNommee {
    const char* nom;
    TCommande commande;
    bool avecFichier;
};

constexpr TCommandeNommee commandes[] = {
    { "centres", TCommande::ListeCentresStat, false },
    { "centres-json", TCommande::ListeCentresJson, true },
    { "statistiques", TCommande::ExporterGlobale, true },
    { "acces", TCommande::ListeAcces, true },
};

// The command and its file, from the arguments that are not options.
void LireCommande(TOptionsExport& options, const std::vector<std::string>& positionnels)
{
    if (positionnels.empty())
        throw ErreurUsage("commande manquante");
    const TCommandeNommee* trouvee = nullptr;
    for (const TCommandeNommee& c : commandes)
        if (positionnels[0] == c.nom)
            trouvee = &c;
    if (trouvee == nullptr)
        throw ErreurUsage("commande inconnue : " + positionnels[0]);
    options.commande = trouvee->commande;

    const std::size_t attendus = trouvee->avecFichier ? 2 : 1;
    if (positionnels.size() < attendus)
        throw ErreurUsage(std::string("la commande ") + trouvee->nom + " attend un FICHIER");
    if (positionnels.size() > attendus)
        throw ErreurUsage("argument en trop : " + positionnels[attendus]);
    if (trouvee->avecFichier) {
        // An empty name is a mistake of the command line (a variable left
        // empty in a script), not a file that cannot be created.
        if (positionnels[1].empty())
            throw ErreurUsage(std::string("la commande ") + trouvee->nom + " attend un FICHIER, pas un nom vide");
        options.fichier = positionnels[1];
    }
}

} // namespace

const char* TexteAideExport()
{
    return "Usage : tq_export COMMANDE [options]\n"
           "\n"
           "Interroge le serveur de statistiques comme les boutons de TQ Statistique.\n"
           "\n"
           "Commandes :\n"
           "  centres                      affiche la liste des centres, une ligne par centre,\n"
           "                               les dix-sept champs séparés par des tabulations\n"
           "  centres-json FICHIER         enregistre la liste des centres (JSON)\n"
           "  statistiques FICHIER --debut AAAA-MM-JJ --fin AAAA-MM-JJ [--mois-entier]\n"
           "                               enregistre les statistiques de la période (CSV) ;\n"
           "                               --mois-entier fait partir la période du premier\n"
           "                               jour du mois de --debut\n"
           "  acces FICHIER                enregistre la liste des accès (CSV)\n"
           "\n"
           "Options :\n"
           "  --serveur HOTE[:PORT]        autre serveur (par défaut celui de l'application, port 2019)\n"
           "  --format-date FORMAT         format court des dates envoyées, par exemple dd/MM/yyyy\n"
           "                               (par défaut celui des réglages régionaux)\n"
           "  --aide, --help               affiche cette aide\n"
           "  --version                    affiche le nom et la version du programme\n"
           "\n"
           "Les lignes du journal vont sur la sortie d'erreur, chacune précédée de la date\n"
           "et de l'heure (AAAA-MM-JJ hh:mm:ss.zzz).\n"
           "\n"
           "Codes de sortie : 0 succès, 1 échec de l'interrogation ou de l'écriture, 2 usage incorrect.\n";
}

TOptionsExport LireOptionsExport(const std::vector<std::string>& arguments)
{
    TOptionsExport options;
    std::vector<std::string> positionnels;
    bool debutLu = false, finLu = false, moisEntier = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto valeur = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw ErreurUsage("l'option " + argument + " attend une valeur");
            return arguments[++i];
        };
        if (argument == "--aide" || argument == "-h" || argument == "--help") {
            options.aide = true;
            return options;
        } else if (argument == "--version") {
            options.version = true;
            return options;
        } else if (argument == "--debut") {
            options.debut = LireDateIso(valeur(), "--debut");
            debutLu = true;
        } else if (argument == "--fin") {
            options.fin = LireDateIso(valeur(), "--fin");
            finLu = true;
        } else if (argument == "--mois-entier") {
            moisEntier = true;
        } else if (argument == "--serveur") {
            const std::string& serveur = valeur();
            if (serveur.empty() || serveur.find_first_of("/ ") != std::string::npos)
                throw ErreurUsage("serveur invalide : « " + serveur + " »");
            options.url = "http://" + serveur + (serveur.find(':') == std::string::npos ? ":2019" : "");
        } else if (argument == "--format-date") {
            std::u16string format = DepuisUtf8(valeur());
            if (!EstFormatDateNumerique(format))
                throw ErreurUsage("format de date invalide : « " + arguments[i]
                                  + " » (jour d/dd, mois M/MM et année yy/yyyy)");
            options.formatDate = std::move(format);
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw ErreurUsage("option inconnue : " + argument);
        } else {
            positionnels.push_back(argument);
        }
    }

    LireCommande(options, positionnels);
    const bool datee = options.commande == TCommande::ExporterGlobale;
    if (datee && (!debutLu || !finLu))
        throw ErreurUsage("la commande statistiques attend --debut et --fin");
    if (!datee && (debutLu || finLu || moisEntier))
        throw ErreurUsage(std::string("--debut, --fin et --mois-entier ne valent que pour statistiques"));
    if (moisEntier)
        options.commande = TCommande::ExporterCentre;
    return options;
}

} // namespace tq
