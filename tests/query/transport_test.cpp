#include "query/transport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/erreurs_http.h"
#include "platform/texte_utf.h"
#include "tests/commun/serveur_scripte.h"

using tq::test::TEtapeServeur;
using tq::test::TServeurScripte;

namespace {

struct TJournal {
    std::vector<std::u16string> lignes;
    tq::TAjouterLog Fonction()
    {
        return [this](std::u16string_view texte) { lignes.emplace_back(texte); };
    }
};

const std::u16string requeteCentres =
    u"{\"type\":4,\"centre\":[],\"groupe\":[],\"requeteId\":1,\"requetSql\": null,\"id\":0,"
    u"\"libelle\":null,\"periode1Debut\":null,\"periode1Fin\":null,\"periode2Debut\":null,"
    u"\"periode2Fin\":null}";

} // namespace

TEST(Interroger, RequeteExacteSurLeFil)
{
    TServeurScripte serveur({ { "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}" } });
    TJournal journal;
    std::u16string resultat = u"ancien";
    EXPECT_TRUE(tq::Interroger(requeteCentres, resultat, journal.Fonction(), serveur.Url()));
    EXPECT_EQ(resultat, u"{}");
    EXPECT_TRUE(journal.lignes.empty());

    const std::string corps = tq::VersUtf8(requeteCentres);
    const std::string attendu = "POST / HTTP/1.0\r\n"
                                "Connection: keep-alive\r\n"
                                "Content-Length: "
                              + std::to_string(corps.size())
                              + "\r\n"
                                "Host: 127.0.0.1:"
                              + std::to_string(serveur.Port())
                              + "\r\n"
                                "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
                                "Accept-Encoding: identity\r\n"
                                "User-Agent: Mozilla/3.0 (compatible; TQ Statistique)\r\n"
                                "\r\n"
                              + corps;
    EXPECT_EQ(serveur.Requete(), attendu);
}

TEST(Interroger, CorpsEnWindows1252)
{
    TServeurScripte serveur({ { "HTTP/1.1 204 No Content\r\n\r\n" } });
    TJournal journal;
    std::u16string resultat;
    EXPECT_TRUE(tq::Interroger(u"{\"x\":\"\u00e9\u20ac\"}", resultat, journal.Fonction(), serveur.Url()));
    const std::string requete = serveur.Requete();
    EXPECT_NE(requete.find("Content-Length: 10\r\n"), std::string::npos);
    EXPECT_EQ(requete.substr(requete.size() - 10), std::string("{\"x\":\"\xE9\x80\"}"));
}

TEST(Interroger, IssuesSelonLeStatut)
{
    struct Cas {
        const char* nom;
        std::string reponse;
        bool succes;
        std::u16string resultat;
        std::vector<std::u16string> journal;
    };
    const Cas cas[] = {
        { "succes avec corps utf-8",
          "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\n"
          "Content-Length: 2\r\n\r\n\xC3\xA9",
          true,
          u"\u00e9",
          {} },
        { "succes vide 204", "HTTP/1.1 204 No Content\r\n\r\n", true, u"", {} },
        { "succes vide longueur 0", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", true, u"", {} },
        { "500 indisponible",
          "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 12\r\n\r\nindisponible",
          false,
          u"",
          { u"Erreur: indisponible" } },
        { "404 sans corps", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n", false, u"", { u"Erreur: " } },
        { "302 avec Location",
          "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:1/\r\nContent-Length: 5\r\n\r\nparti",
          false,
          u"",
          { u"Erreur: parti" } },
        { "corps d'erreur sur plusieurs lignes",
          "HTTP/1.1 400 Bad Request\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: 15\r\n\r\n"
          "ligne 1\r\nd\xC3\xA9j\xC3\xA0",
          false,
          u"",
          { u"Erreur: ligne 1\r\nd\u00e9j\u00e0" } },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TServeurScripte serveur({ { c.reponse } });
        TJournal journal;
        std::u16string resultat = u"ancienne reponse";
        EXPECT_EQ(tq::Interroger(requeteCentres, resultat, journal.Fonction(), serveur.Url()), c.succes);
        EXPECT_EQ(resultat, c.resultat);
        EXPECT_EQ(journal.lignes, c.journal);
        EXPECT_EQ(serveur.NombreConnexions(), 1);
    }
}

TEST(Interroger, ConnexionRefuseePasseTelleQuelle)
{
    TJournal journal;
    std::u16string resultat = u"reponse precedente";
    const std::string url = "http://127.0.0.1:" + std::to_string(tq::test::PortFerme());
    try {
        tq::Interroger(requeteCentres, resultat, journal.Fonction(), url);
        FAIL() << "aucune erreur";
    } catch (const tq::ErreurSocket& erreur) {
        EXPECT_STREQ(erreur.what(), "Erreur de socket n° 10061\r\nConnexion refusée.");
    }
    EXPECT_TRUE(resultat.empty());
    EXPECT_TRUE(journal.lignes.empty());
}

TEST(Interroger, FermetureSansReponsePasseTelleQuelle)
{
    TServeurScripte serveur({});
    TJournal journal;
    std::u16string resultat = u"x";
    try {
        tq::Interroger(requeteCentres, resultat, journal.Fonction(), serveur.Url());
        FAIL() << "aucune erreur";
    } catch (const tq::Erreur& erreur) {
        EXPECT_STREQ(erreur.what(), "La connexion s'est fermée proprement.");
    }
    EXPECT_TRUE(resultat.empty());
    EXPECT_TRUE(journal.lignes.empty());
}

TEST(Interroger, AdresseDuServeurFixeeALaConstruction)
{
    EXPECT_EQ(tq::UrlServeurStatistiques(), "http://" TQ_HOTE_SERVEUR_TEST ":2019");
}
