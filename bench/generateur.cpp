#include "bench/generateur.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace tq::bench {

namespace {

// A small, fast generator whose sequence is fixed by its seed, so that every
// run measures the same bytes.
class THasard {
public:
    explicit THasard(std::uint64_t graine)
        : etat_(graine)
    {
    }

    std::uint64_t Suivant()
    {
        std::uint64_t z = (etat_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }

    std::size_t Moins(std::size_t borne) { return static_cast<std::size_t>(Suivant() % borne); }

    template <std::size_t N> std::string_view Parmi(const std::array<std::string_view, N>& choix)
    {
        return choix[Moins(N)];
    }

private:
    std::uint64_t etat_;
};

constexpr std::array<std::string_view, 16> Enseignes = {
    "Auto Contrôle Besançon", "Sécurité Auto Orléans", "Contrôle Technique Évry", "Centre Auto Nîmes",
    "Vérif Auto Châteauroux", "Autosûr Fréjus",        "Contrôle Plus Créteil",   "Auto Bilan Pézenas",
    "Centre Technique Lyon",  "Diagnostic Auto Sète",  "Sécuritest Montluçon",    "Auto Sécurité Brest",
    "Contrôle Vallée Drôme",  "Centre Véhicules Agen", "Technique Auto Épinal",   "Contrôle Côte d'Or",
};

constexpr std::array<std::string_view, 8> Prestations = {
    "Visite périodique", "Contre-visite", "Visite complémentaire", "Contrôle pollution",
    "Visite à domicile", "Pré-contrôle",  "Véhicule électrique",   "Contrôle volontaire",
};

constexpr std::array<std::string_view, 10> Villes = {
    "Besançon", "Orléans", "Évry", "Nîmes", "Châteauroux", "Fréjus", "Créteil", "Pézenas", "Sète", "Épinal",
};

constexpr std::array<std::string_view, 8> Rues = {
    "rue de la République", "avenue du Général Leclerc", "boulevard Gambetta", "place de l'Église", "chemin des Prés",
    "rue Émile Zola",       "allée des Châtaigniers",    "route de Nîmes",
};

constexpr std::array<std::string_view, 8> Personnes = {
    "Jérôme Lefèvre", "Hélène Durand", "François Mercier", "Gaëlle Rousseau",
    "Noël Bérard",    "Chloé Martin",  "Stéphane Giraud",  "Béatrice Lemaître",
};

// Appends a JSON string body (no quotes) for the UTF-8 text: the double quote
// and the backslash escaped, and every "é" as \u00e9 when asked.
void AjouterJson(std::string& sortie, std::string_view texte, bool eEnEchappement)
{
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const char c = texte[i];
        if (c == '"' || c == '\\') {
            sortie += '\\';
            sortie += c;
        } else if (eEnEchappement && texte.compare(i, 2, "é") == 0) {
            sortie += "\\u00e9";
            ++i;
        } else {
            sortie += c;
        }
    }
}

void AjouterChiffres(std::string& sortie, unsigned valeur, int largeur)
{
    char tampon[16];
    const int n = std::snprintf(tampon, sizeof tampon, "%0*u", largeur, valeur);
    sortie.append(tampon, static_cast<std::size_t>(n));
}

std::string LigneResultat(THasard& hasard, std::size_t numero)
{
    std::string ligne;
    AjouterChiffres(ligne, static_cast<unsigned>(100000 + numero % 900000), 6);
    ligne += ';';
    AjouterChiffres(ligne, static_cast<unsigned>(1 + hasard.Moins(28)), 2);
    ligne += '/';
    AjouterChiffres(ligne, static_cast<unsigned>(1 + hasard.Moins(12)), 2);
    ligne += "/2024;";
    const bool entreGuillemets = hasard.Moins(4) == 0;
    if (entreGuillemets)
        ligne += "\\\"";
    ligne += hasard.Parmi(Enseignes);
    if (entreGuillemets)
        ligne += "\\\"";
    ligne += ';';
    ligne += hasard.Parmi(Prestations);
    ligne += ';';
    AjouterChiffres(ligne, static_cast<unsigned>(10 + hasard.Moins(90)), 2);
    ligne += ',';
    AjouterChiffres(ligne, static_cast<unsigned>(hasard.Moins(100)), 2);
    if (hasard.Moins(40) == 0)
        ligne += " €";
    return ligne;
}

void AjouterMembre(std::string& sortie, std::string_view nom, std::string_view texte)
{
    sortie += '"';
    sortie += nom;
    sortie += "\":\"";
    AjouterJson(sortie, texte, false);
    sortie += "\",";
}

void AjouterMembreEntier(std::string& sortie, std::string_view nom, unsigned valeur)
{
    sortie += '"';
    sortie += nom;
    sortie += "\":";
    AjouterChiffres(sortie, valeur, 1);
    sortie += ',';
}

} // namespace

std::string ReponseResultats(std::size_t lignes)
{
    THasard hasard { 20240315 };
    std::string json;
    json.reserve(lignes * 72 + 32);
    json += "{\"resultats\":[";
    for (std::size_t i = 0; i < lignes; ++i) {
        if (i > 0)
            json += ',';
        json += '"';
        const std::string ligne = LigneResultat(hasard, i);
        AjouterJson(json, ligne, hasard.Moins(50) == 0);
        json += '"';
    }
    json += "]}";
    return json;
}

std::string ListeCentres(std::size_t centres)
{
    THasard hasard { 1975 };
    std::string json;
    json.reserve(centres * 480 + 32);
    json += "{\"centres\":[";
    for (std::size_t i = 0; i < centres; ++i) {
        if (i > 0)
            json += ',';
        json += '{';
        const std::string_view ville = hasard.Parmi(Villes);
        AjouterMembreEntier(json, "id", static_cast<unsigned>(i + 1));
        AjouterMembreEntier(json, "codeMorva", static_cast<unsigned>(10000 + hasard.Moins(90000)));
        std::string code = "TQ";
        AjouterChiffres(code, static_cast<unsigned>(i), 5);
        AjouterMembre(json, "codeTq", code);
        AjouterMembreEntier(json, "zone", static_cast<unsigned>(1 + hasard.Moins(12)));
        AjouterMembre(json, "enseigne", hasard.Parmi(Enseignes));
        AjouterMembre(json, "societe", std::string("SARL Sécurité Automobile ") + std::string(ville));
        std::string adresse;
        AjouterChiffres(adresse, static_cast<unsigned>(1 + hasard.Moins(150)), 1);
        adresse += ' ';
        adresse += hasard.Parmi(Rues);
        AjouterMembre(json, "adresse1", adresse);
        AjouterMembre(json, "adresse2", hasard.Moins(3) == 0 ? "Bâtiment B, 2e étage" : "");
        std::string postal;
        AjouterChiffres(postal, static_cast<unsigned>(1000 + hasard.Moins(94000)), 5);
        AjouterMembre(json, "codePostal", postal);
        AjouterMembre(json, "ville", ville);
        AjouterMembre(json, "pays", "France");
        AjouterMembre(json, "responsable", hasard.Parmi(Personnes));
        std::string siren;
        AjouterChiffres(siren, static_cast<unsigned>(100000000 + hasard.Moins(900000000)), 9);
        AjouterMembre(json, "siren", siren);
        AjouterMembre(json, "numeroTva", "FR" + std::to_string(10 + hasard.Moins(90)) + siren);
        AjouterMembre(json, "adresseIp",
                      "10." + std::to_string(hasard.Moins(256)) + '.' + std::to_string(hasard.Moins(256)) + '.'
                          + std::to_string(1 + hasard.Moins(254)));
        std::string date = "20";
        AjouterChiffres(date, static_cast<unsigned>(hasard.Moins(25)), 2);
        date += '-';
        AjouterChiffres(date, static_cast<unsigned>(1 + hasard.Moins(12)), 2);
        date += '-';
        AjouterChiffres(date, static_cast<unsigned>(1 + hasard.Moins(28)), 2);
        AjouterMembre(json, "dateCreation", date);
        json.back() = '}';
    }
    json += "]}";
    return json;
}

} // namespace tq::bench
