#include "server/options.h"

#include "platform/erreur.h"
#include "platform/texte_utf.h"

#include <charconv>

namespace tq {

namespace {

int Port(const std::string& texte)
{
    int port = -1;
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), port);
    if (texte.empty() || texte.front() == '-' || erreur != std::errc() || fin != texte.data() + texte.size()
        || port > 65535)
        throw Erreur("Option --port : « " + texte + " » n'est pas un numéro de port (0 à 65535).");
    return port;
}

} // namespace

TOptions LireOptions(const std::vector<std::string>& arguments)
{
    TOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string nom = arguments[i];
        std::string valeur;
        bool valeurJointe = false;
        if (const std::size_t egal = nom.find('='); nom.starts_with("--") && egal != std::string::npos) {
            valeur = nom.substr(egal + 1);
            nom.resize(egal);
            valeurJointe = true;
        }
        const auto valeurSuivante = [&]() {
            if (valeurJointe)
                return valeur;
            if (i + 1 >= arguments.size())
                throw Erreur("Option " + nom + " : valeur manquante.");
            return arguments[++i];
        };

        if (nom == "--aide" || nom == "--help" || nom == "-h") {
            options.aide = true;
        } else if (nom == "--version") {
            options.version = true;
        } else if (nom == "--demo") {
            options.demo = true;
        } else if (nom == "--port") {
            options.port = Port(valeurSuivante());
        } else if (nom == "--adresse") {
            options.adresse = valeurSuivante();
        } else if (nom == "--base") {
            options.base = valeurSuivante();
            if (options.base.empty())
                throw Erreur("Option --base : le chemin est vide.");
        } else if (nom == "--format-date") {
            options.formatDate = TFormatDate(DepuisUtf8(valeurSuivante()));
        } else {
            throw Erreur("Option inconnue : « " + nom + " ».");
        }
        if (valeurJointe
            && (nom == "--aide" || nom == "--help" || nom == "-h" || nom == "--version" || nom == "--demo"))
            throw Erreur("Option " + nom + " : elle ne prend pas de valeur.");
    }
    return options;
}

std::string TexteAide()
{
    return "Usage : tq_serveur_statistiques [options]\n"
           "Serveur de statistiques de démonstration : répond en JSON aux requêtes POST /\n"
           "(liste des centres, statistiques d'une période, liste des accès).\n"
           "\n"
           "  --base FICHIER        base SQLite à servir (défaut : statistiques.sqlite)\n"
           "  --demo                crée (ou recrée) la base avec des données de démonstration\n"
           "  --port N              port d'écoute (défaut : 2019 ; 0 : un port libre, affiché)\n"
           "  --adresse ADRESSE     adresse d'écoute (défaut : 127.0.0.1)\n"
           "  --format-date MOTIF   un seul format pour les dates reçues et écrites, avec d, M\n"
           "                        et y (par exemple dd/MM/yyyy, yyyy-MM-dd ou M/d/yy).\n"
           "                        Sans cette option, les dates reçues sont lues dans le\n"
           "                        format court de toute locale : l'année sur quatre\n"
           "                        chiffres en tête, sinon le jour et le mois dans le seul\n"
           "                        ordre que permettent leurs valeurs, celles des deux dates\n"
           "                        de la période ensemble, ou, si les deux ordres le\n"
           "                        permettent, dans l'ordre de la locale du serveur\n"
           "                        (LC_ALL, LC_TIME ou LANG) ; les dates écrites suivent\n"
           "                        dd/MM/yyyy.\n"
           "  --aide, --help        affiche cette aide\n"
           "  --version             affiche le nom et la version du programme\n";
}

} // namespace tq
