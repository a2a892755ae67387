#include "server/json_requete.h"

#include "server/erreurs_serveur.h"

#include <gtest/gtest.h>

using tq::TValeurJson;
using Genre = TValeurJson::TGenre;

TEST(JsonRequete, DocumentsAcceptes)
{
    struct Cas {
        const char* nom;
        std::u16string_view texte;
        Genre genre;
        std::size_t elements; // members of an object, elements of an array
    };
    const Cas cas[] = {
        { "objet vide", u"{}", Genre::Objet, 0 },
        { "blancs autour", u" \t\r\n{ \"a\" : 1 }\r\n", Genre::Objet, 1 },
        { "tableau imbrique", u"[[],{},[1,[2]]]", Genre::Tableau, 3 },
        { "nombre seul", u"-0.5e+3", Genre::Nombre, 0 },
        { "zero", u"0", Genre::Nombre, 0 },
        { "litteraux", u"[true,false,null]", Genre::Tableau, 3 },
        { "texte", u"\"abc\"", Genre::Texte, 0 },
        { "noms en double gardes", u"{\"a\":1,\"a\":2}", Genre::Objet, 2 },
        { "requete du client",
          u"{\"type\":4,\"centre\":[],\"groupe\":[],\"requeteId\":1,\"requetSql\": null,\"id\":0,\"libelle\":null,"
          u"\"periode1Debut\":null,\"periode1Fin\":null,\"periode2Debut\":null,\"periode2Fin\":null}",
          Genre::Objet, 11 },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const TValeurJson v = tq::LireJson(c.texte);
        EXPECT_EQ(v.genre, c.genre);
        EXPECT_EQ(v.valeurs.size(), c.elements);
    }
}

TEST(JsonRequete, DocumentsRefusesAvecLaPosition)
{
    struct Cas {
        const char* nom;
        std::u16string_view texte;
        int position;
    };
    const Cas cas[] = {
        { "vide", u"", 1 },
        { "blancs seuls", u"   ", 4 },
        { "texte nu", u"pas du json", 1 },
        { "objet non ferme", u"{\"a\":1", 7 },
        { "virgule finale objet", u"{\"a\":1,}", 8 },
        { "virgule finale tableau", u"[1,]", 4 },
        { "nom sans guillemets", u"{a:1}", 2 },
        { "apostrophes", u"{'a':1}", 2 },
        { "deux valeurs", u"{} {}", 4 },
        { "zero en tete", u"01", 2 },
        { "point sans chiffre", u"1.", 3 },
        { "exposant vide", u"1e", 3 },
        { "moins seul", u"-", 2 },
        { "litteral en majuscules", u"True", 1 },
        { "litteral tronque", u"nul", 1 },
        { "echappement inconnu", u"\"a\\q\"", 4 },
        { "u court", u"\"\\u12\"", 6 },
        { "caractere de controle", u"\"a\tb\"", 3 },
        { "texte non ferme", u"\"abc", 5 },
        { "deux points manquants", u"{\"a\" 1}", 6 },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        try {
            tq::LireJson(c.texte);
            ADD_FAILURE() << "accepté";
        } catch (const tq::ErreurRequete& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Requête illisible : JSON incorrect à la position " + std::to_string(c.position) + ".");
        }
    }
}

TEST(JsonRequete, TextesEtNombres)
{
    const TValeurJson v = tq::LireJson(uR"({"t":"\"\\\/\b\f\n\r\t\u00e9\uD83D\uDE00","n":-12.5E-3,"t":"second"})");
    const TValeurJson* t = v.Membre(u"t");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->texte, u"\"\\/\b\f\n\r\té\U0001F600");
    const TValeurJson* n = v.Membre(u"n");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->genre, Genre::Nombre);
    EXPECT_EQ(n->texte, u"-12.5E-3");
    EXPECT_EQ(v.Membre(u"T"), nullptr);
    EXPECT_EQ(tq::LireJson(u"[1]").Membre(u"t"), nullptr);
}

TEST(JsonRequete, ProfondeurBornee)
{
    const std::u16string accepte = std::u16string(64, u'[') + std::u16string(64, u']');
    EXPECT_EQ(tq::LireJson(accepte).genre, Genre::Tableau);
    const std::u16string refuse = std::u16string(65, u'[') + std::u16string(65, u']');
    EXPECT_THROW(tq::LireJson(refuse), tq::ErreurRequete);
    // Far deeper nesting fails the same way instead of exhausting the stack.
    EXPECT_THROW(tq::LireJson(std::u16string(100000, u'[')), tq::ErreurRequete);
}
