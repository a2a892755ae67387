// Requests refused on a real connection before the HTTP library sees them:
// a body past the limit is refused as soon as it passes it, whatever its
// framing, and a request that does not arrive whole in time is given up.
#include "outils_test.h"
#include "server/demo.h"

#include <gtest/gtest.h>

using namespace std::chrono;
using tq::test::TConnexionBrute;
using tq::test::TexteRequete;

namespace {

std::string Refus(const char* statut, const std::string& texte)
{
    return std::string("HTTP/1.1 ") + statut + "\r\nConnection: close\r\nContent-Length: "
         + std::to_string(texte.size()) + "\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n" + texte;
}

std::string Morceau(const std::string& donnees)
{
    char taille[16];
    std::snprintf(taille, sizeof taille, "%zx\r\n", donnees.size());
    return taille + donnees + "\r\n";
}

class RefusServeur : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dossier = std::make_unique<tq::test::TDossierTemporaire>();
        const std::string base = dossier->Chemin("demo.sqlite");
        tq::CreerBaseDemo(base, 2019y / March / 15d);
        // Long enough for no refusal below to be mistaken for the delay.
        serveur = std::make_unique<tq::test::TServeurEnFond>(
            tq::TConfigurationServeur { base, tq::TFormatDate(u"dd/MM/yyyy"), seconds(20) });
    }
    static void TearDownTestSuite()
    {
        serveur.reset();
        dossier.reset();
    }
    inline static std::unique_ptr<tq::test::TDossierTemporaire> dossier;
    inline static std::unique_ptr<tq::test::TServeurEnFond> serveur;
};

// Each request stops short of its end and the connection stays open: only a
// server that refuses as soon as it knows answers before the delay.
TEST_F(RefusServeur, RefusAvantLaFinDeLaRequete)
{
    const std::string tete = "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    const std::string troisMorceaux =
        Morceau(std::string(30000, ' ')) + Morceau(std::string(30000, ' ')) + Morceau(std::string(5537, ' '));
    struct Cas {
        const char* nom;
        std::string envoye;
        std::string reponse;
    };
    const Cas cas[] = {
        { "morceaux passant la limite d'un octet", tete + "Transfer-Encoding: chunked\r\n\r\n" + troisMorceaux,
          Refus("413 Payload Too Large", "Requête trop volumineuse.") },
        { "longueur annoncee au-dela de la limite", tete + "Content-Length: 65537\r\n\r\n{",
          Refus("413 Payload Too Large", "Requête trop volumineuse.") },
        { "corps compresse", tete + "Content-Encoding: gzip\r\nContent-Length: 20\r\n\r\n",
          Refus("415 Unsupported Media Type",
                "Corps compressé refusé : le serveur n'accepte que des corps sans Content-Encoding.") },
        { "entete sans fin", tete + "X-Rembourrage: " + std::string(20000, 'a'),
          Refus("431 Request Header Fields Too Large", "En-tête de requête trop volumineux.") },
        { "taille de morceau illisible", tete + "Transfer-Encoding: chunked\r\n\r\nzz\r\n",
          Refus("400 Bad Request", "Requête HTTP incorrecte.") },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TConnexionBrute connexion(serveur->Port());
        ASSERT_TRUE(connexion.Envoyer(c.envoye));
        EXPECT_EQ(connexion.LireJusquALaFermeture(), c.reponse);
    }
}

// The limit is on the body, not on its framing: exactly the limit in chunks
// is served like the same body with a length.
TEST_F(RefusServeur, CorpsALaLimiteEnMorceauxServi)
{
    std::string corps = TexteRequete(4, 1);
    corps.resize(64 * 1024, ' ');
    TConnexionBrute enMorceaux(serveur->Port());
    ASSERT_TRUE(enMorceaux.Envoyer("POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n\r\n"
                                   + Morceau(corps.substr(0, 40000)) + Morceau(corps.substr(40000)) + "0\r\n\r\n"));
    const std::string reponseMorceaux = enMorceaux.LireJusquALaFermeture();
    TConnexionBrute avecLongueur(serveur->Port());
    ASSERT_TRUE(avecLongueur.Envoyer("POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 65536\r\n\r\n" + corps));
    const std::string reponseLongueur = avecLongueur.LireJusquALaFermeture();

    EXPECT_EQ(reponseMorceaux.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << reponseMorceaux.substr(0, 200);
    EXPECT_NE(reponseMorceaux.find("\"centres\":[{"), std::string::npos);
    EXPECT_EQ(reponseMorceaux, reponseLongueur);
}

// A request still arriving when the delay runs out is answered 408 and
// closed, however steadily its bytes come; meanwhile others are served.
TEST(RefusServeurDelai, RequeteTropLenteAbandonnee)
{
    tq::test::TDossierTemporaire dossier;
    const std::string base = dossier.Chemin("demo.sqlite");
    tq::CreerBaseDemo(base, 2019y / March / 15d);
    tq::test::TServeurEnFond serveur({ base, tq::TFormatDate(u"dd/MM/yyyy"), milliseconds(1500) });

    const std::string requete =
        "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 200\r\n\r\n" + TexteRequete(4, 1);
    TConnexionBrute lente(serveur.Port());
    std::size_t envoyes = 0;
    // One byte every 100 ms: each read is quick, the whole would take 20 s.
    while (envoyes < requete.size() && !lente.ReponseOuFermeture(milliseconds(100))) {
        ASSERT_TRUE(lente.Envoyer(requete.substr(envoyes, 1)));
        ++envoyes;
        if (envoyes == 5) {
            TConnexionBrute rapide(serveur.Port());
            ASSERT_TRUE(rapide.Envoyer("POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: "
                                       + std::to_string(TexteRequete(4, 1).size()) + "\r\n\r\n" + TexteRequete(4, 1)));
            EXPECT_EQ(rapide.LireJusquALaFermeture().rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
        }
    }
    EXPECT_LT(envoyes, requete.size());
    EXPECT_EQ(lente.LireJusquALaFermeture(),
              Refus("408 Request Timeout", "Délai dépassé : la requête n'est pas arrivée entière à temps."));
}

} // namespace
