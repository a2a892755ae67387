#include "server/serveur_http.h"

#include "outils_test.h"
#include "platform/texte_utf.h"
#include "server/base.h"
#include "server/demo.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <memory>

using namespace std::chrono;
using tq::TValeurJson;
using tq::test::Champs;
using tq::test::Resultats;
using tq::test::TexteRequete;
using Genre = TValeurJson::TGenre;

namespace {

struct TFigures {
    long long controles = 0;
    long long contreVisites = 0;
    long long chiffreAffaires = 0;
};

class ServeurDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dossier = std::make_unique<tq::test::TDossierTemporaire>();
        base = dossier->Chemin("demo.sqlite");
        tq::CreerBaseDemo(base, 2019y / March / 15d);
        serveur = std::make_unique<tq::test::TServeurEnFond>(
            tq::TConfigurationServeur { base, tq::TFormatDate(u"dd/MM/yyyy") });
    }

    static void TearDownTestSuite()
    {
        serveur.reset();
        dossier.reset();
    }

    static httplib::Result Poster(const std::string& corps, int port = serveur->Port())
    {
        httplib::Client client("127.0.0.1", port);
        return client.Post("/", corps, "application/json");
    }

    static long long Compter(const char* sql)
    {
        tq::TBase lecture(base, tq::TBase::TMode::Lecture);
        tq::TInstruction instruction(lecture, sql);
        EXPECT_TRUE(instruction.Etape());
        return instruction.Entier(0);
    }

    // The figures of every centre code over a period, summed here with SQL
    // of the test's own.
    static std::map<std::u16string, TFigures> FiguresAttendues(const char16_t* debut, const char16_t* fin)
    {
        tq::TBase lecture(base, tq::TBase::TMode::Lecture);
        tq::TInstruction instruction(lecture, "SELECT c.code_tq, sum(a.controles), sum(a.contre_visites), "
                                              "sum(a.chiffre_affaires) FROM centre c JOIN activite a "
                                              "ON a.centre_id = c.id WHERE a.jour >= ?1 AND a.jour <= ?2 "
                                              "GROUP BY c.code_tq");
        instruction.LierTexte(1, debut);
        instruction.LierTexte(2, fin);
        std::map<std::u16string, TFigures> figures;
        while (instruction.Etape())
            figures[instruction.Texte(0)] = { instruction.Entier(1), instruction.Entier(2), instruction.Entier(3) };
        return figures;
    }

    static std::map<std::u16string, std::vector<std::u16string>> ParCentre(const std::string& corps)
    {
        std::map<std::u16string, std::vector<std::u16string>> lignes;
        const std::vector<std::u16string> resultats = Resultats(corps);
        for (std::size_t i = 1; i < resultats.size(); ++i) {
            std::vector<std::u16string> champs = Champs(resultats[i]);
            lignes[champs[0]] = std::move(champs);
        }
        return lignes;
    }

    inline static std::unique_ptr<tq::test::TDossierTemporaire> dossier;
    inline static std::string base;
    inline static std::unique_ptr<tq::test::TServeurEnFond> serveur;
};

std::u16string Euros(long long centimes)
{
    char texte[32];
    std::snprintf(texte, sizeof texte, "%lld,%02lld", centimes / 100, centimes % 100);
    return tq::DepuisUtf8(texte);
}

} // namespace

TEST_F(ServeurDemo, ListeDesCentres)
{
    const httplib::Result reponse = Poster(TexteRequete(4, 1));
    ASSERT_TRUE(reponse);
    EXPECT_EQ(reponse->status, 200);
    EXPECT_EQ(reponse->get_header_value("Content-Type"), "application/json; charset=utf-8");

    const TValeurJson document = tq::test::LireReponse(reponse->body);
    const TValeurJson* centres = document.Membre(u"centres");
    ASSERT_NE(centres, nullptr);
    ASSERT_EQ(centres->genre, Genre::Tableau);
    ASSERT_EQ(static_cast<long long>(centres->valeurs.size()), Compter("SELECT count(*) FROM centre"));

    const std::u16string_view entieres[] = { u"id", u"codeMorva", u"zone" };
    const std::u16string_view textes[] = { u"codeTq",     u"enseigne",  u"societe",     u"adresse1",    u"adresse2",
                                           u"codePostal", u"ville",     u"pays",        u"responsable", u"siren",
                                           u"numeroTva",  u"adresseIp", u"dateCreation" };
    bool guillemetsVus = false;
    for (std::size_t i = 0; i < centres->valeurs.size(); ++i) {
        SCOPED_TRACE(i);
        const TValeurJson& centre = centres->valeurs[i];
        ASSERT_EQ(centre.genre, Genre::Objet);
        EXPECT_EQ(centre.noms.size(), 16u);
        for (const std::u16string_view cle : entieres) {
            const TValeurJson* valeur = centre.Membre(cle);
            ASSERT_NE(valeur, nullptr) << tq::VersUtf8(cle);
            EXPECT_EQ(valeur->genre, Genre::Nombre) << tq::VersUtf8(cle);
            EXPECT_EQ(valeur->texte.find_first_not_of(u"0123456789"), std::u16string::npos) << tq::VersUtf8(cle);
        }
        for (const std::u16string_view cle : textes) {
            const TValeurJson* valeur = centre.Membre(cle);
            ASSERT_NE(valeur, nullptr) << tq::VersUtf8(cle);
            EXPECT_EQ(valeur->genre, Genre::Texte) << tq::VersUtf8(cle);
        }
        EXPECT_EQ(centre.Membre(u"id")->texte, tq::DepuisUtf8(std::to_string(i + 1)));
        guillemetsVus |= centre.Membre(u"enseigne")->texte.find(u'"') != std::u16string::npos;
    }
    // One trade name holds double quotes, which travel escaped.
    EXPECT_TRUE(guillemetsVus);
}

TEST_F(ServeurDemo, StatistiquesDUnePeriode)
{
    const httplib::Result reponse = Poster(TexteRequete(100, 1, "01/03/2019", "10/03/2019"));
    ASSERT_TRUE(reponse);
    EXPECT_EQ(reponse->status, 200);
    EXPECT_EQ(reponse->get_header_value("Content-Type"), "application/json; charset=utf-8");

    const std::vector<std::u16string> lignes = Resultats(reponse->body);
    ASSERT_EQ(static_cast<long long>(lignes.size()), Compter("SELECT count(*) FROM centre") + 1);
    EXPECT_EQ(lignes[0], u"Code TQ;Enseigne;Ville;Contrôles;dont contre-visites;Chiffre d'affaires HT (€);"
                         u"Montant moyen HT (€)");

    const auto attendues = FiguresAttendues(u"2019-03-01", u"2019-03-10");
    for (std::size_t i = 1; i < lignes.size(); ++i) {
        SCOPED_TRACE(tq::VersUtf8(lignes[i]));
        const std::vector<std::u16string> champs = Champs(lignes[i]);
        ASSERT_EQ(champs.size(), 7u);
        ASSERT_TRUE(attendues.contains(champs[0]));
        const TFigures& f = attendues.at(champs[0]);
        EXPECT_EQ(champs[3], tq::DepuisUtf8(std::to_string(f.controles)));
        EXPECT_EQ(champs[4], tq::DepuisUtf8(std::to_string(f.contreVisites)));
        EXPECT_EQ(champs[5], Euros(f.chiffreAffaires));
        EXPECT_EQ(champs[6],
                  f.controles == 0 ? u"0,00" : Euros((2 * f.chiffreAffaires + f.controles) / (2 * f.controles)));
    }
}

TEST_F(ServeurDemo, LaPeriodeFiltreLesChiffres)
{
    const auto mars = ParCentre(Poster(TexteRequete(100, 1, "01/03/2019", "15/03/2019"))->body);
    const auto debut = ParCentre(Poster(TexteRequete(100, 1, "01/03/2019", "07/03/2019"))->body);
    const auto fin = ParCentre(Poster(TexteRequete(100, 1, "08/03/2019", "15/03/2019"))->body);
    const auto fevrier = ParCentre(Poster(TexteRequete(100, 1, "01/02/2019", "15/02/2019"))->body);
    const auto avantLesDonnees = ParCentre(Poster(TexteRequete(100, 1, "30/12/1899", "31/03/2016"))->body);
    ASSERT_FALSE(mars.empty());
    ASSERT_EQ(mars.size(), fevrier.size());

    int differents = 0;
    for (const auto& [code, champs] : mars) {
        SCOPED_TRACE(tq::VersUtf8(code));
        // Two adjacent periods add up to the whole: no day is lost or counted twice.
        EXPECT_EQ(std::stoll(tq::VersUtf8(champs[3])),
                  std::stoll(tq::VersUtf8(debut.at(code)[3])) + std::stoll(tq::VersUtf8(fin.at(code)[3])));
        differents += champs[3] != fevrier.at(code)[3];
        const std::vector<std::u16string> zeros = { code, champs[1], champs[2], u"0", u"0", u"0,00", u"0,00" };
        EXPECT_EQ(avantLesDonnees.at(code), zeros);
    }
    EXPECT_GT(differents, 0);
}

TEST_F(ServeurDemo, ListeDesAcces)
{
    const httplib::Result reponse = Poster(TexteRequete(100, 2));
    ASSERT_TRUE(reponse);
    EXPECT_EQ(reponse->status, 200);
    EXPECT_EQ(reponse->get_header_value("Content-Type"), "application/json; charset=utf-8");
    const std::vector<std::u16string> lignes = Resultats(reponse->body);
    ASSERT_EQ(static_cast<long long>(lignes.size()), Compter("SELECT count(*) FROM acces") + 1);
    EXPECT_EQ(lignes[0], u"Date;Heure;Utilisateur;Centre;Adresse IP");

    // The most recent first: compare as year, month, day, time.
    const auto cle = [](const std::vector<std::u16string>& c) {
        return c[0].substr(6, 4) + c[0].substr(3, 2) + c[0].substr(0, 2) + c[1];
    };
    bool siegeVu = false;
    for (std::size_t i = 1; i < lignes.size(); ++i) {
        SCOPED_TRACE(tq::VersUtf8(lignes[i]));
        const std::vector<std::u16string> champs = Champs(lignes[i]);
        ASSERT_EQ(champs.size(), 5u);
        ASSERT_EQ(champs[0].size(), 10u);
        EXPECT_EQ(tq::TFormatDate(u"dd/MM/yyyy").Lire(champs[0]) < 2019y / March / 15d, true);
        EXPECT_EQ(champs[1].size(), 8u);
        EXPECT_FALSE(champs[2].empty());
        EXPECT_FALSE(champs[4].empty());
        siegeVu |= champs[3] == u"Siège";
        if (i > 1) {
            EXPECT_GE(cle(Champs(lignes[i - 1])), cle(champs));
        }
    }
    EXPECT_TRUE(siegeVu);
}

TEST_F(ServeurDemo, DatesAuFormatDuServeur)
{
    tq::test::TServeurEnFond iso({ base, tq::TFormatDate(u"yyyy-MM-dd") });
    const httplib::Result statistiques = Poster(TexteRequete(100, 1, "2019-03-01", "2019-03-10"), iso.Port());
    ASSERT_TRUE(statistiques);
    EXPECT_EQ(statistiques->status, 200);
    EXPECT_EQ(statistiques->body, Poster(TexteRequete(100, 1, "01/03/2019", "10/03/2019"))->body);

    const httplib::Result acces = Poster(TexteRequete(100, 2), iso.Port());
    ASSERT_TRUE(acces);
    const std::vector<std::u16string> lignes = Resultats(acces->body);
    ASSERT_GT(lignes.size(), 1u);
    EXPECT_EQ(tq::TFormatDate(u"yyyy-MM-dd").Lire(Champs(lignes[1])[0]) <= 2019y / March / 14d, true);
}

TEST_F(ServeurDemo, RequetesRefuseesEn400)
{
    struct Cas {
        const char* nom;
        std::string corps;
        const char* message;
    };
    const Cas cas[] = {
        { "pas du json", "<html>bonjour</html>", "Requête illisible : JSON incorrect à la position 1." },
        { "type inconnu", TexteRequete(7, 1), "Type de requête inconnu : 7." },
        { "requeteId inconnu", TexteRequete(100, 9), "Requête inconnue : type 100, requeteId 9." },
        { "date illisible", TexteRequete(100, 1, "2019-03-01", "2019-03-31"),
          "Date illisible : « 2019-03-01 » (format attendu : dd/MM/yyyy)." },
        { "dates absentes", TexteRequete(100, 1),
          "Période absente : « periode1Debut » et « periode1Fin » sont requis." },
        { "octet au-dessus de 7F",
          TexteRequete(100, 1,
                       "01\xA0"
                       "03\xA0"
                       "2019",
                       "31/03/2019"),
          "Date illisible : « 01\xC2\xA0"
          "03\xC2\xA0"
          "2019 » (format attendu : dd/MM/yyyy)." },
        { "texte cp1252 hors latin-1",
          TexteRequete(100, 1, "01/03/2019",
                       "\x93"
                       "31/03/2019\x94"),
          "Date illisible : « \xE2\x80\x9C"
          "31/03/2019\xE2\x80\x9D » (format attendu : dd/MM/yyyy)." },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const httplib::Result reponse = Poster(c.corps);
        ASSERT_TRUE(reponse);
        EXPECT_EQ(reponse->status, 400);
        EXPECT_EQ(reponse->get_header_value("Content-Type"), "text/plain; charset=utf-8");
        EXPECT_EQ(reponse->body, c.message);
    }
}

TEST_F(ServeurDemo, BaseInutilisableEn500)
{
    const std::string pasUneBase = dossier->Chemin("pas_une_base.sqlite");
    std::ofstream(pasUneBase) << std::string(4096, 'x');
    const std::string absente = dossier->Chemin("absente.sqlite");
    struct Cas {
        const char* nom;
        std::string base;
        std::string message;
    };
    const Cas cas[] = {
        { "pas une base", pasUneBase, "Erreur de la base de données : le fichier n'est pas une base SQLite." },
        { "fichier absent", absente,
          "Impossible d'ouvrir la base « " + absente + " » : fichier introuvable ou illisible." },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        tq::test::TServeurEnFond enPanne({ c.base, tq::TFormatDate(u"dd/MM/yyyy") });
        for (const std::string& requete : { TexteRequete(4, 1), TexteRequete(100, 2) }) {
            const httplib::Result reponse = Poster(requete, enPanne.Port());
            ASSERT_TRUE(reponse);
            EXPECT_EQ(reponse->status, 500);
            EXPECT_EQ(reponse->get_header_value("Content-Type"), "text/plain; charset=utf-8");
            EXPECT_EQ(reponse->body, c.message);
        }
        // An unreadable request is still the client's fault.
        EXPECT_EQ(Poster("?", enPanne.Port())->status, 400);
    }
    // Reading never creates the missing file.
    EXPECT_FALSE(std::filesystem::exists(absente));
}

TEST_F(ServeurDemo, AutresMethodesEtChemins)
{
    httplib::Client client("127.0.0.1", serveur->Port());
    const httplib::Result lecture = client.Get("/");
    ASSERT_TRUE(lecture);
    EXPECT_EQ(lecture->status, 404);
    EXPECT_EQ(lecture->get_header_value("Content-Type"), "text/plain; charset=utf-8");
    EXPECT_EQ(lecture->body, "Ressource introuvable : le serveur ne répond qu'à POST /.");

    const httplib::Result autreChemin = client.Post("/centres", TexteRequete(4, 1), "application/json");
    ASSERT_TRUE(autreChemin);
    EXPECT_EQ(autreChemin->status, 404);

    const httplib::Result tropGros = client.Post("/", std::string(100 * 1024, ' '), "application/json");
    ASSERT_TRUE(tropGros);
    EXPECT_EQ(tropGros->status, 413);
    EXPECT_EQ(tropGros->body, "Requête trop volumineuse.");
}

TEST_F(ServeurDemo, RequeteOctetPourOctetCommeLeClient)
{
    const std::string corps = TexteRequete(100, 1, "01/03/2019", "31/03/2019");
    const std::string requete =
        "POST / HTTP/1.0\r\nConnection: keep-alive\r\nContent-Length: " + std::to_string(corps.size())
        + "\r\nHost: 127.0.0.1:" + std::to_string(serveur->Port())
        + "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
          "Accept-Encoding: identity\r\nUser-Agent: Mozilla/3.0 (compatible; TQ Statistique)\r\n\r\n"
        + corps;

    const int prise = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(prise, 0);
    // A guard against a hang, not a measure: the answer comes at once.
    const timeval attente { 30, 0 };
    setsockopt(prise, SOL_SOCKET, SO_RCVTIMEO, &attente, sizeof attente);
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_port = htons(static_cast<std::uint16_t>(serveur->Port()));
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(prise, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse), 0);
    ASSERT_EQ(send(prise, requete.data(), requete.size(), MSG_NOSIGNAL), static_cast<ssize_t>(requete.size()));

    std::string recu;
    std::size_t finEntete = std::string::npos;
    std::size_t longueur = 0;
    char tampon[4096];
    for (;;) {
        if (finEntete != std::string::npos && recu.size() >= finEntete + 4 + longueur)
            break;
        const ssize_t lus = recv(prise, tampon, sizeof tampon, 0);
        if (lus <= 0)
            break;
        recu.append(tampon, static_cast<std::size_t>(lus));
        if (finEntete == std::string::npos && (finEntete = recu.find("\r\n\r\n")) != std::string::npos) {
            const std::size_t champ = recu.find("Content-Length: ");
            ASSERT_LT(champ, finEntete);
            longueur = std::stoul(recu.substr(champ + 16));
        }
    }
    close(prise);

    ASSERT_NE(finEntete, std::string::npos);
    const std::string entete = recu.substr(0, finEntete + 2);
    EXPECT_EQ(entete.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << entete;
    EXPECT_NE(entete.find("\r\nContent-Type: application/json; charset=utf-8\r\n"), std::string::npos) << entete;
    EXPECT_EQ(entete.find("Transfer-Encoding"), std::string::npos) << entete;
    EXPECT_EQ(entete.find("Content-Encoding"), std::string::npos) << entete;
    ASSERT_EQ(recu.size(), finEntete + 4 + longueur);
    EXPECT_EQ(recu.substr(finEntete + 4), Poster(corps)->body);
}

TEST_F(ServeurDemo, RequetesSimultanees)
{
    const std::string attendu = Poster(TexteRequete(100, 1, "01/01/2019", "15/03/2019"))->body;
    std::vector<std::thread> fils;
    std::vector<int> justes(4, 0);
    for (std::size_t f = 0; f < justes.size(); ++f) {
        fils.emplace_back([&, f]() {
            for (int i = 0; i < 5; ++i) {
                const httplib::Result r = Poster(TexteRequete(100, 1, "01/01/2019", "15/03/2019"));
                justes[f] += r && r->status == 200 && r->body == attendu;
            }
        });
    }
    for (std::thread& fil : fils)
        fil.join();
    for (const int n : justes)
        EXPECT_EQ(n, 5);
}
