#include "server/demo.h"

#include "server/base.h"
#include "server/donnees_demo.h"
#include "server/erreurs_serveur.h"
#include "server/format_date.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tq {

namespace {

constexpr const char* schema = R"(
CREATE TABLE centre (
    id INTEGER PRIMARY KEY,
    code_morva INTEGER NOT NULL,
    code_tq TEXT NOT NULL,
    zone INTEGER NOT NULL,
    enseigne TEXT NOT NULL,
    societe TEXT NOT NULL,
    adresse1 TEXT NOT NULL,
    adresse2 TEXT NOT NULL,
    code_postal TEXT NOT NULL,
    ville TEXT NOT NULL,
    pays TEXT NOT NULL,
    responsable TEXT NOT NULL,
    siren TEXT NOT NULL,
    numero_tva TEXT NOT NULL,
    adresse_ip TEXT NOT NULL,
    date_creation TEXT NOT NULL
);
-- One row per centre and day with activity; amounts in cents, before tax.
CREATE TABLE activite (
    centre_id INTEGER NOT NULL REFERENCES centre(id),
    jour TEXT NOT NULL,
    controles INTEGER NOT NULL,
    contre_visites INTEGER NOT NULL,
    chiffre_affaires INTEGER NOT NULL,
    PRIMARY KEY (centre_id, jour)
) WITHOUT ROWID;
-- A NULL centre is an access from head office.
CREATE TABLE acces (
    id INTEGER PRIMARY KEY,
    horodatage TEXT NOT NULL,
    utilisateur TEXT NOT NULL,
    centre_id INTEGER REFERENCES centre(id),
    adresse_ip TEXT NOT NULL
);
CREATE INDEX acces_horodatage ON acces(horodatage);
)";

constexpr int moisDeDonnees = 36;

// Deterministic draws: a hash of the question asked (centre, day, purpose),
// not a sequence, so that one figure never depends on how many came before.
std::uint64_t Melanger(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

std::uint64_t Tirage(std::uint64_t a, std::uint64_t b, std::uint64_t c)
{
    return Melanger(Melanger(Melanger(a) ^ b) ^ c);
}

double Uniforme(std::uint64_t tirage)
{
    return static_cast<double>(tirage >> 11) * 0x1.0p-53;
}

std::u16string Nombre(long long valeur, int chiffresMinimum = 1)
{
    std::string chiffres = std::to_string(valeur);
    if (chiffres.size() < static_cast<std::size_t>(chiffresMinimum))
        chiffres.insert(0, static_cast<std::size_t>(chiffresMinimum) - chiffres.size(), '0');
    return std::u16string(chiffres.begin(), chiffres.end());
}

// Purposes of the draws.
enum TObjet : std::uint64_t {
    ObjetFiche = 1,
    ObjetVolume,
    ObjetPrix,
    ObjetDimanche,
    ObjetControles,
    ObjetContreVisites,
    ObjetAccesNombre,
    ObjetAccesHeure,
    ObjetAccesSiege,
    ObjetAccesQui,
};

struct TCentre {
    int id = 0;
    long long codeMorva = 0;
    std::u16string codeTq, enseigne, societe, adresse1, adresse2, codePostal, ville, responsable, siren, numeroTva,
        adresseIp, dateCreation, identifiant;
    int zone = 0;
    double volumeJournalier = 0; // inspections on an ordinary weekday
    long long prixControle = 0;  // cents before tax
    long long prixContreVisite = 0;
    bool ouvertDimanche = false;
};

// A company registration number: eight digits and the Luhn check digit.
std::u16string Siren(std::uint64_t tirage)
{
    const long long base = 30000000 + static_cast<long long>(tirage % 69999999);
    for (int cle = 0; cle <= 9; ++cle) {
        const long long numero = base * 10 + cle;
        long long reste = numero;
        int somme = 0;
        for (int rang = 0; rang < 9; ++rang, reste /= 10) {
            int chiffre = static_cast<int>(reste % 10);
            if (rang % 2 == 1)
                chiffre = chiffre * 2 > 9 ? chiffre * 2 - 9 : chiffre * 2;
            somme += chiffre;
        }
        if (somme % 10 == 0)
            return Nombre(numero, 9);
    }
    return {};
}

// The French VAT number built on it: "FR", a two-digit key, the number.
std::u16string NumeroTva(const std::u16string& siren)
{
    long long numero = 0;
    for (const char16_t c : siren)
        numero = numero * 10 + (c - u'0');
    return u"FR" + Nombre((12 + 3 * (numero % 97)) % 97, 2) + siren;
}

std::vector<TCentre> Centres()
{
    static constexpr long long prix[] = { 6990, 7290, 7490, 7890, 7990, 8490 };
    static constexpr long long prixContreVisite[] = { 0, 1500, 1990 };
    static constexpr const char16_t* formes[] = { u"SARL", u"SAS", u"EURL", u"SAS", u"SARL" };
    const TFormatDate iso(u"yyyy-MM-dd");

    std::vector<TCentre> centres;
    const auto donnees = CentresDemo();
    const auto prenoms = PrenomsDemo();
    const auto noms = NomsDemo();
    for (std::size_t i = 0; i < donnees.size(); ++i) {
        const TCentreDemo& d = donnees[i];
        const TNomDemo& prenom = prenoms[(i * 7) % prenoms.size()];
        const TNomDemo& nom = noms[(i * 11) % noms.size()];
        const auto tirage = [&](std::uint64_t objet, std::uint64_t rang = 0) { return Tirage(i, objet, rang); };

        TCentre c;
        c.id = static_cast<int>(i) + 1;
        c.codeMorva = 100000 + c.id * 1379 + static_cast<long long>(tirage(ObjetFiche, 1) % 997);
        c.codeTq = u"TQ" + Nombre(c.id, 3);
        c.zone = d.zone;
        c.enseigne = d.enseigne;
        const std::u16string forme = formes[i % std::size(formes)];
        switch (i % 4) {
        case 0:
            c.societe = forme + u" " + nom.affiche + u" Automobiles";
            break;
        case 1:
            c.societe = forme + u" Contrôles " + nom.affiche;
            break;
        case 2:
            c.societe = forme + u" " + nom.affiche + u" et Fils";
            break;
        default:
            c.societe = forme + u" " + d.ville + u" Sécurité Auto";
        }
        c.adresse1 = d.adresse1;
        c.adresse2 = d.adresse2;
        c.codePostal = d.codePostal;
        c.ville = d.ville;
        c.responsable = std::u16string(prenom.affiche) + u" " + nom.affiche;
        c.identifiant = std::u16string(1, prenom.identifiant[0]) + u"." + nom.identifiant;
        c.siren = Siren(tirage(ObjetFiche, 2));
        c.numeroTva = NumeroTva(c.siren);
        c.adresseIp = u"10." + Nombre(c.zone) + u"." + Nombre(c.id) + u".1";
        const std::uint64_t creation = tirage(ObjetFiche, 3);
        c.dateCreation = iso.Ecrire(std::chrono::year { 1992 + static_cast<int>(creation % 24) }
                                    / std::chrono::month { static_cast<unsigned>(1 + creation / 24 % 12) }
                                    / std::chrono::day { static_cast<unsigned>(1 + creation / 288 % 28) });
        c.volumeJournalier = 14 + 18 * Uniforme(tirage(ObjetVolume));
        c.prixControle = prix[tirage(ObjetPrix, 1) % std::size(prix)];
        c.prixContreVisite = prixContreVisite[tirage(ObjetPrix, 2) % std::size(prixContreVisite)];
        // About one centre in four opens on Sunday mornings, so that any
        // period of at least one day has some activity.
        c.ouvertDimanche = tirage(ObjetDimanche) % 4 == 0 || i == 0;
        centres.push_back(std::move(c));
    }
    return centres;
}

void InsererCentres(TBase& base, const std::vector<TCentre>& centres)
{
    TInstruction insertion(base, "INSERT INTO centre VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
                                 "?13, ?14, ?15, ?16)");
    for (const TCentre& c : centres) {
        insertion.LierEntier(1, c.id);
        insertion.LierEntier(2, c.codeMorva);
        insertion.LierTexte(3, c.codeTq);
        insertion.LierEntier(4, c.zone);
        insertion.LierTexte(5, c.enseigne);
        insertion.LierTexte(6, c.societe);
        insertion.LierTexte(7, c.adresse1);
        insertion.LierTexte(8, c.adresse2);
        insertion.LierTexte(9, c.codePostal);
        insertion.LierTexte(10, c.ville);
        insertion.LierTexte(11, u"France");
        insertion.LierTexte(12, c.responsable);
        insertion.LierTexte(13, c.siren);
        insertion.LierTexte(14, c.numeroTva);
        insertion.LierTexte(15, c.adresseIp);
        insertion.LierTexte(16, c.dateCreation);
        insertion.Etape();
        insertion.Reinitialiser();
    }
}

// Activity of one centre on one day: fewer inspections on Saturdays, in
// August and around Christmas, slowly growing over the years.
int InsererActivite(TBase& base, const std::vector<TCentre>& centres, std::chrono::sys_days debut,
                    std::chrono::sys_days fin)
{
    static constexpr double saison[12] = { 0.92, 0.96, 1.06, 1.04, 0.94, 1.08, 0.90, 0.62, 1.05, 1.10, 1.00, 0.85 };
    const TFormatDate iso(u"yyyy-MM-dd");
    TInstruction insertion(base, "INSERT INTO activite VALUES (?1, ?2, ?3, ?4, ?5)");
    int lignes = 0;
    for (std::chrono::sys_days jour = debut; jour <= fin; jour += std::chrono::days { 1 }) {
        const std::chrono::year_month_day date { jour };
        const unsigned joursemaine = std::chrono::weekday { jour }.c_encoding(); // 0 is Sunday
        const auto numeroJour = static_cast<std::uint64_t>(jour.time_since_epoch().count());
        const double tendance = std::max(0.7, 1.0 + 0.03 * (static_cast<int>(date.year()) - 2020));
        const double facteurJour = joursemaine == 0 ? 0.3 : joursemaine == 6 ? 0.55 : 1.0;
        const std::u16string texteJour = iso.Ecrire(date);
        for (std::size_t i = 0; i < centres.size(); ++i) {
            const TCentre& c = centres[i];
            if (joursemaine == 0 && !c.ouvertDimanche)
                continue;
            const double aleas = 0.75 + 0.5 * Uniforme(Tirage(i, ObjetControles, numeroJour));
            const long long controles = std::lround(
                c.volumeJournalier * facteurJour * saison[static_cast<unsigned>(date.month()) - 1] * tendance * aleas);
            if (controles <= 0)
                continue;
            const double partContreVisites = 0.10 + 0.12 * Uniforme(Tirage(i, ObjetContreVisites, numeroJour));
            const long long contreVisites = std::lround(static_cast<double>(controles) * partContreVisites);
            insertion.LierEntier(1, c.id);
            insertion.LierTexte(2, texteJour);
            insertion.LierEntier(3, controles);
            insertion.LierEntier(4, contreVisites);
            insertion.LierEntier(5, (controles - contreVisites) * c.prixControle + contreVisites * c.prixContreVisite);
            insertion.Etape();
            insertion.Reinitialiser();
            ++lignes;
        }
    }
    return lignes;
}

// Up to three accesses on a weekday, rarely one at the weekend, between
// half past seven and seven in the evening; one in five from head office.
int InsererAcces(TBase& base, const std::vector<TCentre>& centres, std::chrono::sys_days debut,
                 std::chrono::sys_days fin)
{
    static constexpr const char16_t* comptesSiege[] = { u"direction", u"comptabilite", u"qualite", u"informatique" };
    const TFormatDate iso(u"yyyy-MM-dd");
    TInstruction insertion(base, "INSERT INTO acces (horodatage, utilisateur, centre_id, adresse_ip) "
                                 "VALUES (?1, ?2, ?3, ?4)");
    int lignes = 0;
    for (std::chrono::sys_days jour = debut; jour <= fin; jour += std::chrono::days { 1 }) {
        const unsigned joursemaine = std::chrono::weekday { jour }.c_encoding();
        const auto numeroJour = static_cast<std::uint64_t>(jour.time_since_epoch().count());
        const std::uint64_t tirage = Tirage(numeroJour, ObjetAccesNombre, 0);
        const int nombre = joursemaine >= 1 && joursemaine <= 5 ? static_cast<int>(tirage % 4) : tirage % 3 == 0;
        std::vector<int> secondes;
        for (int k = 0; k < nombre; ++k) {
            const std::uint64_t t = Tirage(numeroJour, ObjetAccesHeure, static_cast<std::uint64_t>(k));
            secondes.push_back(static_cast<int>(7 * 3600 + 30 * 60 + t % (11 * 3600 + 30 * 60)));
        }
        std::sort(secondes.begin(), secondes.end());
        const std::u16string texteJour = iso.Ecrire(std::chrono::year_month_day { jour });
        for (int k = 0; k < nombre; ++k) {
            const int s = secondes[static_cast<std::size_t>(k)];
            insertion.LierTexte(1, texteJour + u" " + Nombre(s / 3600, 2) + u":" + Nombre(s / 60 % 60, 2) + u":"
                                       + Nombre(s % 60, 2));
            const auto rang = static_cast<std::uint64_t>(k);
            const std::uint64_t qui = Tirage(numeroJour, ObjetAccesQui, rang);
            if (Tirage(numeroJour, ObjetAccesSiege, rang) % 5 == 0) {
                const std::size_t compte = qui % std::size(comptesSiege);
                insertion.LierTexte(2, comptesSiege[compte]);
                insertion.LierNul(3);
                insertion.LierTexte(4, u"10.0.0." + Nombre(20 + static_cast<long long>(compte)));
            } else {
                const TCentre& c = centres[qui % centres.size()];
                insertion.LierTexte(2, c.identifiant);
                insertion.LierEntier(3, c.id);
                insertion.LierTexte(4, c.adresseIp);
            }
            insertion.Etape();
            insertion.Reinitialiser();
            ++lignes;
        }
    }
    return lignes;
}

} // namespace

TResumeDemo CreerBaseDemo(const std::string& chemin, std::chrono::year_month_day aujourdhui)
{
    namespace fs = std::filesystem;
    const fs::path cible(chemin);
    const fs::path provisoire = fs::path(chemin + ".creation");
    std::error_code erreur;
    fs::remove(provisoire, erreur);

    const std::chrono::year_month premierMois =
        std::chrono::year_month { aujourdhui.year(), aujourdhui.month() } - std::chrono::months { moisDeDonnees - 1 };
    const std::chrono::sys_days debut { premierMois / std::chrono::day { 1 } };
    const std::chrono::sys_days fin { aujourdhui };

    TResumeDemo resume;
    try {
        TBase base(provisoire.string(), TBase::TMode::Creation);
        base.Executer(schema);
        base.Executer("BEGIN");
        const std::vector<TCentre> centres = Centres();
        InsererCentres(base, centres);
        resume.centres = static_cast<int>(centres.size());
        resume.joursActivite = InsererActivite(base, centres, debut, fin);
        resume.acces = InsererAcces(base, centres, debut, fin - std::chrono::days { 1 });
        base.Executer("COMMIT");
    } catch (const ErreurBase& e) {
        fs::remove(provisoire, erreur);
        throw ErreurBase("Impossible de créer la base « " + chemin + " ». " + e.what());
    }
    fs::rename(provisoire, cible, erreur);
    if (erreur) {
        fs::remove(provisoire, erreur);
        throw ErreurBase("Impossible de créer la base « " + chemin + " » : le fichier ne peut pas être remplacé.");
    }
    return resume;
}

} // namespace tq
