#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/commun/serveur_scripte.h"

#ifdef TQ_AVEC_SERVEUR
#include <thread>

#include "server/demo.h"
#include "server/serveur_http.h"
#endif

namespace fs = std::filesystem;
using tq::test::TServeurScripte;

namespace {

std::string Lire(const fs::path& chemin)
{
    std::ifstream flux(chemin, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(flux), {});
}

std::string Guillemets(const std::string& texte)
{
    std::string sortie = "'";
    for (char c : texte)
        sortie += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return sortie + "'";
}

struct TExecution {
    int code = -1;
    std::string sortie;
    std::string erreurs;
    // The lines of standard error without their date and time stamp; each
    // must have one.
    std::vector<std::string> Journal() const
    {
        static const std::regex horodatee(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d\d\d: ([^\r]*)$)");
        std::vector<std::string> lignes;
        std::istringstream flux(erreurs);
        for (std::string ligne; std::getline(flux, ligne);) {
            std::smatch morceaux;
            lignes.push_back(std::regex_match(ligne, morceaux, horodatee) ? morceaux[1].str() : "SANS HEURE: " + ligne);
        }
        return lignes;
    }
};

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dossier_ = fs::temp_directory_path()
                 / ("tq_export_" + std::to_string(::getpid()) + "_"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dossier_);
        fs::create_directories(dossier_);
    }
    void TearDown() override { fs::remove_all(dossier_); }

    TExecution Executer(const std::vector<std::string>& arguments)
    {
        std::string commande = std::string("LC_ALL=C LANG=C ") + TQ_EXPORT_PROGRAMME;
        for (const std::string& argument : arguments)
            commande += " " + Guillemets(argument);
        commande +=
            " >" + Guillemets((dossier_ / "sortie").string()) + " 2>" + Guillemets((dossier_ / "erreurs").string());
        const int statut = std::system(commande.c_str());
        TExecution execution;
        execution.code = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
        execution.sortie = Lire(dossier_ / "sortie");
        execution.erreurs = Lire(dossier_ / "erreurs");
        return execution;
    }

    std::string Fichier(const char* nom) const { return (dossier_ / nom).string(); }

    fs::path dossier_;
};

std::string Reponse200(const std::string& corps)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: "
         + std::to_string(corps.size()) + "\r\n\r\n" + corps;
}

std::string CorpsRecu(TServeurScripte& serveur)
{
    const std::string requete = serveur.Requete();
    return requete.substr(requete.find("\r\n\r\n") + 4);
}

std::string Serveur(const TServeurScripte& serveur)
{
    return "127.0.0.1:" + std::to_string(serveur.Port());
}

} // namespace

TEST_F(ExportTest, UsageIncorrect)
{
    struct Cas {
        const char* nom;
        std::vector<std::string> arguments;
        const char* message;
    };
    const Cas cas[] = {
        { "sans commande", {}, "tq_export : commande manquante" },
        { "commande inconnue", { "tout" }, "tq_export : commande inconnue : tout" },
        { "fichier manquant", { "acces" }, "tq_export : la commande acces attend un FICHIER" },
        { "argument en trop", { "centres", "x.csv" }, "tq_export : argument en trop : x.csv" },
        { "nom de fichier vide",
          { "statistiques", "", "--debut", "2019-03-01", "--fin", "2019-03-31" },
          "tq_export : la commande statistiques attend un FICHIER, pas un nom vide" },
        { "dates manquantes",
          { "statistiques", "s.csv", "--debut", "2019-03-01" },
          "tq_export : la commande statistiques attend --debut et --fin" },
        { "date impossible",
          { "statistiques", "s.csv", "--debut", "2019-02-30", "--fin", "2019-03-01" },
          "tq_export : date invalide pour --debut : « 2019-02-30 » (forme attendue AAAA-MM-JJ)" },
        { "date dans un autre ordre",
          { "statistiques", "s.csv", "--debut", "01/03/2019", "--fin", "2019-03-01" },
          "tq_export : date invalide pour --debut : « 01/03/2019 » (forme attendue AAAA-MM-JJ)" },
        { "periode hors statistiques",
          { "acces", "a.csv", "--mois-entier" },
          "tq_export : --debut, --fin et --mois-entier ne valent que pour statistiques" },
        { "format de date en lettres",
          { "centres", "--format-date", "d MMM yyyy" },
          "tq_export : format de date invalide : « d MMM yyyy » (jour d/dd, mois M/MM et année yy/yyyy)" },
        { "option inconnue", { "centres", "--vite" }, "tq_export : option inconnue : --vite" },
        { "valeur manquante", { "centres", "--serveur" }, "tq_export : l'option --serveur attend une valeur" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const TExecution execution = Executer(c.arguments);
        EXPECT_EQ(execution.code, 2);
        EXPECT_EQ(execution.Journal(), (std::vector<std::string> { c.message, "Voir : tq_export --aide" }));
        EXPECT_TRUE(execution.sortie.empty());
    }
}

TEST_F(ExportTest, AideEtVersion)
{
    struct Cas {
        const char* nom;
        std::vector<std::string> arguments;
        std::string debutSortie;
    };
    const Cas cas[] = {
        { "aide", { "--aide" }, "Usage : tq_export COMMANDE [options]\n" },
        { "aide en anglais", { "centres", "--help" }, "Usage : tq_export COMMANDE [options]\n" },
        { "version", { "--version" }, "tq_export " TQ_VERSION "\n" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const TExecution execution = Executer(c.arguments);
        EXPECT_EQ(execution.code, 0);
        EXPECT_EQ(execution.sortie.substr(0, c.debutSortie.size()), c.debutSortie);
        EXPECT_TRUE(execution.erreurs.empty());
    }
    EXPECT_EQ(Executer({ "--version" }).sortie, "tq_export " TQ_VERSION "\n");
}

TEST_F(ExportTest, StatistiquesCommeLeBouton)
{
    struct Cas {
        const char* nom;
        std::vector<std::string> options;
        const char* periode;
    };
    const Cas cas[] = {
        { "periode telle quelle", {}, "\"periode1Debut\":\"15/03/2019\",\"periode1Fin\":\"20/03/2019\"," },
        { "mois entier", { "--mois-entier" }, "\"periode1Debut\":\"01/03/2019\",\"periode1Fin\":\"20/03/2019\"," },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TServeurScripte serveur(
            { { Reponse200("{\"resultats\":[\"Centre;CA\",\"Ch\\u00e2teau \\\"Nord\\\";12 \\u20ac\"]}") } });
        std::vector<std::string> arguments { "statistiques", Fichier("stats.csv"), "--debut",       "2019-03-15",
                                             "--fin",        "2019-03-20",         "--format-date", "dd/MM/yyyy",
                                             "--serveur",    Serveur(serveur) };
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const TExecution execution = Executer(arguments);

        EXPECT_EQ(execution.code, 0);
        EXPECT_EQ(CorpsRecu(serveur),
                  std::string("{\"type\":100,\"centre\":[],\"groupe\":[],\"requeteId\":1,\"requetSql\": null,\"id\":0,"
                              "\"libelle\":null,")
                      + c.periode + "\"periode2Debut\":null,\"periode2Fin\":null}");
        EXPECT_EQ(Lire(Fichier("stats.csv")), "Centre;CA\r\nCh\xE2teau \"Nord\";12 \x80\r\n");
        EXPECT_EQ(execution.Journal(),
                  (std::vector<std::string> { "Interrogation en cours...", "Interrogation terminée avec succès",
                                              "Analyse des données", "Terminé" }));
        EXPECT_TRUE(execution.sortie.empty());
    }
}

TEST_F(ExportTest, ListeDesCentresEnJsonEtAcces)
{
    const std::string centres = "{\"centres\":[{\"id\":7,\"enseigne\":\"\\u00c9cole\"}]}";
    TServeurScripte serveurCentres({ { Reponse200(centres) } });
    const TExecution json = Executer({ "centres-json", Fichier("c.json"), "--serveur", Serveur(serveurCentres) });
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(Lire(Fichier("c.json")), centres + "\r\n");
    EXPECT_EQ(json.Journal(),
              (std::vector<std::string> { "Interrogation en cours...", "Interrogation terminée avec succès" }));

    TServeurScripte serveurAcces({ { Reponse200("{\"resultats\":[\"Date;Utilisateur\",\"\",\"01/03/2019;m\"]}") } });
    const TExecution acces = Executer({ "acces", Fichier("a.csv"), "--serveur", Serveur(serveurAcces) });
    EXPECT_EQ(acces.code, 0);
    EXPECT_NE(CorpsRecu(serveurAcces).find("\"requeteId\":2,"), std::string::npos);
    EXPECT_EQ(Lire(Fichier("a.csv")), "Date;Utilisateur\r\n\r\n01/03/2019;m\r\n");
}

TEST_F(ExportTest, Echecs)
{
    {
        SCOPED_TRACE("erreur HTTP");
        TServeurScripte serveur(
            { { "HTTP/1.1 500 Erreur\r\nContent-Length: 28\r\n\r\nindisponible\r\nrevenez demain" } });
        const TExecution execution = Executer({ "acces", Fichier("a.csv"), "--serveur", Serveur(serveur) });
        EXPECT_EQ(execution.code, 1);
        // A body of two lines gives two stamped lines.
        EXPECT_EQ(execution.Journal(),
                  (std::vector<std::string> { "Interrogation en cours...", "Erreur: indisponible", "revenez demain",
                                              "Erreur lors de l'interrogation" }));
        EXPECT_FALSE(fs::exists(Fichier("a.csv")));
    }
    {
        SCOPED_TRACE("connexion refusee");
        const TExecution execution =
            Executer({ "centres", "--serveur", "127.0.0.1:" + std::to_string(tq::test::PortFerme()) });
        EXPECT_EQ(execution.code, 1);
        // The failure's two lines, each with its own stamp, no carriage return left.
        EXPECT_EQ(execution.Journal(),
                  (std::vector<std::string> { "Interrogation en cours...", "Erreur de socket n° 10061",
                                              "Connexion refusée." }));
        EXPECT_EQ(execution.erreurs.find('\r'), std::string::npos);
    }
    {
        SCOPED_TRACE("reponse illisible, ancien fichier garde");
        std::ofstream(Fichier("s.csv"), std::ios::binary) << "ancien\r\n";
        TServeurScripte serveur({ { Reponse200("{\"resultats\":[\"a\"") } });
        const TExecution execution = Executer({ "statistiques", Fichier("s.csv"), "--debut", "2019-03-01", "--fin",
                                                "2019-03-31", "--serveur", Serveur(serveur) });
        EXPECT_EQ(execution.code, 1);
        EXPECT_EQ(execution.Journal().back(), "Réponse du serveur illisible : aucun fichier n'a été écrit.");
        EXPECT_EQ(Lire(Fichier("s.csv")), "ancien\r\n");
    }
}

#ifdef TQ_AVEC_SERVEUR
TEST_F(ExportTest, CentresDuServeurDeDemonstration)
{
    tq::TConfigurationServeur configuration;
    configuration.base = Fichier("demo.sqlite");
    const tq::TResumeDemo demo = tq::CreerBaseDemo(configuration.base, std::chrono::year { 2019 } / 3 / 31);
    tq::TServeurStatistiques serveur(configuration);
    const int port = serveur.Lier("127.0.0.1", 0);
    std::thread fil([&serveur] { serveur.Ecouter(); });

    const TExecution execution = Executer({ "centres", "--serveur", "127.0.0.1:" + std::to_string(port) });
    serveur.Arreter();
    fil.join();

    EXPECT_EQ(execution.code, 0);
    std::istringstream flux(execution.sortie);
    int lignes = 0;
    for (std::string ligne; std::getline(flux, ligne); ++lignes) {
        SCOPED_TRACE(ligne);
        EXPECT_EQ(std::count(ligne.begin(), ligne.end(), '\t'), 16);
        EXPECT_EQ(ligne.back(), '0'); // Modification, never set
        EXPECT_TRUE(
            std::all_of(ligne.begin(), ligne.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    }
    EXPECT_EQ(lignes, demo.centres);
}
#endif
