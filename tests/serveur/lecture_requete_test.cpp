#include "server/lecture_requete.h"

#include "outils_test.h"
#include "server/erreurs_serveur.h"

#include <gtest/gtest.h>

using namespace std::chrono;
using tq::test::TexteRequete;

TEST(LectureRequete, LesTroisRequetesDuClient)
{
    const tq::TFormatDate format(u"dd/MM/yyyy");

    EXPECT_EQ(tq::LireRequete(TexteRequete(4, 1), format).genre, tq::TGenreRequete::ListeCentres);
    EXPECT_EQ(tq::LireRequete(TexteRequete(100, 2), format).genre, tq::TGenreRequete::ListeAcces);

    const tq::TRequete statistiques = tq::LireRequete(TexteRequete(100, 1, "01/03/2019", "31/03/2019"), format);
    EXPECT_EQ(statistiques.genre, tq::TGenreRequete::Statistiques);
    EXPECT_EQ(statistiques.debut, 2019y / March / 1d);
    EXPECT_EQ(statistiques.fin, 2019y / March / 31d);

    // The dates are read with the server's pattern, not a fixed one.
    const tq::TRequete americaine =
        tq::LireRequete(TexteRequete(100, 1, "3/1/19", "3/31/19"), tq::TFormatDate(u"M/d/yy"));
    EXPECT_EQ(americaine.debut, 2019y / March / 1d);
    EXPECT_EQ(americaine.fin, 2019y / March / 31d);

    // A period sent with the other queries, and members in another order, change nothing.
    EXPECT_EQ(tq::LireRequete(R"({"requeteId":2,"periode1Debut":"x","type":100})", format).genre,
              tq::TGenreRequete::ListeAcces);
    // One single day is a period.
    const tq::TRequete unJour = tq::LireRequete(TexteRequete(100, 1, "15/03/2019", "15/03/2019"), format);
    EXPECT_EQ(unJour.debut, unJour.fin);
}

// The common cases also go through HTTP in the server's tests; these are the others.
TEST(LectureRequete, RequetesRefusees)
{
    struct Cas {
        const char* nom;
        std::string corps;
        const char* message;
    };
    const Cas cas[] = {
        { "corps vide", "", "Requête illisible : JSON incorrect à la position 1." },
        { "tronque", TexteRequete(4, 1).substr(0, 40), "Requête illisible : JSON incorrect à la position 41." },
        { "tableau", "[4,1]", "Requête illisible : un objet JSON est attendu." },
        { "sans type", R"({"requeteId":1})", "Requête illisible : le membre « type » doit être un nombre entier." },
        { "type texte", R"({"type":"4","requeteId":1})",
          "Requête illisible : le membre « type » doit être un nombre entier." },
        { "type decimal", R"({"type":4.0,"requeteId":1})",
          "Requête illisible : le membre « type » doit être un nombre entier." },
        { "sans requeteId", R"({"type":4})",
          "Requête illisible : le membre « requeteId » doit être un nombre entier." },
        { "type negatif", TexteRequete(-4, 1), "Type de requête inconnu : -4." },
        { "type enorme", R"({"type":123456789012345678901234567890,"requeteId":1})",
          "Type de requête inconnu : 12345678901234567890…." },
        { "requeteId inconnu type 4", TexteRequete(4, 2), "Requête inconnue : type 4, requeteId 2." },
        { "fin absente", R"({"type":100,"requeteId":1,"periode1Debut":"01/03/2019"})",
          "Période absente : « periode1Debut » et « periode1Fin » sont requis." },
        { "date nombre", R"({"type":100,"requeteId":1,"periode1Debut":1,"periode1Fin":"01/03/2019"})",
          "Requête illisible : le membre « periode1Debut » doit être une date." },
        { "date impossible", TexteRequete(100, 1, "01/03/2019", "32/03/2019"),
          "Date illisible : « 32/03/2019 » (format attendu : dd/MM/yyyy)." },
        { "euro windows-1252", TexteRequete(100, 1, "\x80", "31/03/2019"),
          "Date illisible : « € » (format attendu : dd/MM/yyyy)." },
        { "periode inversee", TexteRequete(100, 1, "31/03/2019", "01/03/2019"),
          "Période incorrecte : la fin (01/03/2019) précède le début (31/03/2019)." },
    };
    const tq::TFormatDate format(u"dd/MM/yyyy");
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        try {
            tq::LireRequete(c.corps, format);
            ADD_FAILURE() << "acceptée";
        } catch (const tq::ErreurRequete& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}
