#include "server/csv.h"
#include "server/ecriture_json.h"

#include <gtest/gtest.h>

#include <limits>

TEST(EcritureJson, EchappementDesTextes)
{
    struct Cas {
        const char* nom;
        std::u16string_view texte;
        std::string_view json;
    };
    const Cas cas[] = {
        { "vide", u"", R"("")" },
        { "guillemets", u"Auto \"Le Phare\"", R"("Auto \"Le Phare\"")" },
        { "barre inverse", u"a\\b", R"("a\\b")" },
        { "barre oblique laissee", u"a/b", R"("a/b")" },
        { "fins de ligne", u"a\r\nb\tc", R"("a\r\nb\tc")" },
        { "autres controles", std::u16string_view(u"\0\x01\x1F\b\f", 5), R"("\u0000\u0001\u001f\b\f")" },
        { "accents en utf8", u"Besançon €", "\"Besan\xC3\xA7on \xE2\x82\xAC\"" },
        { "hors plan de base", u"\U0001F600", "\"\xF0\x9F\x98\x80\"" },
        { "demi-substitut isole", u"\xD800", "\"\xEF\xBF\xBD\"" },
        { "suppression laissee", u"\x7F", "\"\x7F\"" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        tq::TEcrivainJson json;
        json.Texte(c.texte);
        EXPECT_EQ(json.Json(), c.json);
    }
}

TEST(EcritureJson, VirgulesEtImbrication)
{
    tq::TEcrivainJson json;
    json.DebutObjet();
    json.Nom(u"a");
    json.DebutTableau();
    json.DebutObjet();
    json.FinObjet();
    json.Entier(-3);
    json.DebutTableau();
    json.FinTableau();
    json.Texte(u"x");
    json.FinTableau();
    json.Nom(u"b");
    json.Entier(0);
    json.FinObjet();
    EXPECT_EQ(json.Json(), R"({"a":[{},-3,[],"x"],"b":0})");
}

TEST(Csv, Champs)
{
    struct Cas {
        const char* nom;
        std::u16string_view texte;
        std::u16string_view champ;
    };
    const Cas cas[] = {
        { "simple", u"Besançon", u"Besançon" },
        { "vide", u"", u"" },
        { "apostrophe", u"Contrôle Auto de l'Oise", u"Contrôle Auto de l'Oise" },
        { "point-virgule", u"a;b", u"\"a;b\"" },
        { "guillemets doubles", u"Auto \"Le Phare\"", u"\"Auto \"\"Le Phare\"\"\"" },
        { "fin de ligne", u"a\nb", u"\"a\nb\"" },
        { "retour chariot", u"a\rb", u"\"a\rb\"" },
        { "virgule laissee", u"1,5", u"1,5" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::ChampCsv(c.texte), c.champ);
    }
    EXPECT_EQ(tq::LigneCsv({ u"a", u"b;c", u"" }), u"a;\"b;c\";");
    EXPECT_EQ(tq::LigneCsv({}), u"");
}

TEST(Csv, Montants)
{
    struct Cas {
        const char* nom;
        long long centimes;
        std::u16string_view texte;
    };
    const Cas cas[] = {
        { "zero", 0, u"0,00" },
        { "un centime", 1, u"0,01" },
        { "dix centimes", 10, u"0,10" },
        { "entier", 7490, u"74,90" },
        { "milliers sans groupement", 123456789, u"1234567,89" },
        { "negatif", -5, u"-0,05" },
        { "negatif euros", -12345, u"-123,45" },
        { "plus petit", std::numeric_limits<long long>::min(), u"-92233720368547758,08" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::MontantCsv(c.centimes), c.texte);
    }
}

TEST(Csv, MoyennesArrondies)
{
    struct Cas {
        const char* nom;
        long long total;
        long long nombre;
        long long moyenne;
    };
    const Cas cas[] = {
        { "aucun controle", 12345, 0, 0 }, { "exacte", 1500, 3, 500 },         { "arrondi bas", 1000, 3, 333 },
        { "arrondi haut", 2000, 3, 667 },  { "moitie vers le haut", 5, 2, 3 }, { "moitie negative", -5, 2, -3 },
        { "negatif bas", -1000, 3, -333 }, { "negatif haut", -2000, 3, -667 },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::MoyenneCentimes(c.total, c.nombre), c.moyenne);
    }
}
