#include "server/options.h"

#include "platform/erreur.h"

#include <gtest/gtest.h>

TEST(Options, ValeursParDefaut)
{
    const tq::TOptions options = tq::LireOptions({});
    EXPECT_EQ(options.adresse, "127.0.0.1");
    EXPECT_EQ(options.port, 2019);
    EXPECT_EQ(options.base, "statistiques.sqlite");
    EXPECT_FALSE(options.demo);
    EXPECT_FALSE(options.aide);
    EXPECT_EQ(options.formatDate.Motif(), u"dd/MM/yyyy");
}

TEST(Options, LignesDeCommandeAcceptees)
{
    struct Cas {
        const char* nom;
        std::vector<std::string> arguments;
        std::string adresse;
        int port;
        std::string base;
        bool demo;
        std::u16string motif;
    };
    const Cas cas[] = {
        { "tout separe",
          { "--port", "0", "--adresse", "0.0.0.0", "--base", "/tmp/b.sqlite", "--demo", "--format-date", "yyyy-MM-dd" },
          "0.0.0.0",
          0,
          "/tmp/b.sqlite",
          true,
          u"yyyy-MM-dd" },
        { "avec egal",
          { "--port=8080", "--base=x=y.sqlite", "--format-date=M/d/yy" },
          "127.0.0.1",
          8080,
          "x=y.sqlite",
          false,
          u"M/d/yy" },
        { "port maximal", { "--port", "65535" }, "127.0.0.1", 65535, "statistiques.sqlite", false, u"dd/MM/yyyy" },
        { "format non ascii",
          { "--format-date", "dd\xC2\xB7MM\xC2\xB7yyyy" },
          "127.0.0.1",
          2019,
          "statistiques.sqlite",
          false,
          u"dd·MM·yyyy" },
        { "derniere valeur gardee",
          { "--port", "1", "--port", "2" },
          "127.0.0.1",
          2,
          "statistiques.sqlite",
          false,
          u"dd/MM/yyyy" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const tq::TOptions options = tq::LireOptions(c.arguments);
        EXPECT_EQ(options.adresse, c.adresse);
        EXPECT_EQ(options.port, c.port);
        EXPECT_EQ(options.base, c.base);
        EXPECT_EQ(options.demo, c.demo);
        EXPECT_EQ(options.formatDate.Motif(), c.motif);
    }
    for (const char* aide : { "--aide", "--help", "-h" })
        EXPECT_TRUE(tq::LireOptions({ aide }).aide) << aide;
    EXPECT_TRUE(tq::LireOptions({ "--version" }).version);
    EXPECT_FALSE(tq::LireOptions({ "--aide" }).version);
}

TEST(Options, LignesDeCommandeRefusees)
{
    struct Cas {
        const char* nom;
        std::vector<std::string> arguments;
        const char* message;
    };
    const Cas cas[] = {
        { "inconnue", { "--aider" }, "Option inconnue : « --aider »." },
        { "version avec valeur", { "--version=2" }, "Option --version : elle ne prend pas de valeur." },
        { "argument nu", { "base.sqlite" }, "Option inconnue : « base.sqlite »." },
        { "port manquant", { "--port" }, "Option --port : valeur manquante." },
        { "port texte", { "--port", "abc" }, "Option --port : « abc » n'est pas un numéro de port (0 à 65535)." },
        { "port trop grand",
          { "--port", "65536" },
          "Option --port : « 65536 » n'est pas un numéro de port (0 à 65535)." },
        { "port negatif", { "--port", "-1" }, "Option --port : « -1 » n'est pas un numéro de port (0 à 65535)." },
        { "port vide", { "--port=" }, "Option --port : «  » n'est pas un numéro de port (0 à 65535)." },
        { "port suivi", { "--port", "80x" }, "Option --port : « 80x » n'est pas un numéro de port (0 à 65535)." },
        { "base vide", { "--base", "" }, "Option --base : le chemin est vide." },
        { "demo avec valeur", { "--demo=oui" }, "Option --demo : elle ne prend pas de valeur." },
        { "format",
          { "--format-date", "jj/mm/aaaa" },
          "Format de date incorrect : « jj/mm/aaaa » (seules les lettres d, M et y sont permises)." },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        try {
            tq::LireOptions(c.arguments);
            ADD_FAILURE() << "acceptée";
        } catch (const tq::Erreur& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}
