#include "results/contenu_fichier.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "contenu_fichier_resultats.h"

#include "platform/encodage_ansi.h"
#include "platform/texte_utf.h"
#include "results/ligne_resultat.h"
#include "results/erreurs_resultats.h"

namespace {

std::string Hexa(std::string_view octets)
{
    std::string texte;
    char tampon[4];
    for (unsigned char o : octets) {
        std::snprintf(tampon, sizeof tampon, "%02X ", o);
        texte += tampon;
    }
    return texte;
}

struct TCas {
    const char* nom;
    std::u16string_view reponse;
    std::string_view octets;
};

TEST(ContenuFichierResultats, OctetsExacts)
{
    const TCas cas[] = {
        { "deux lignes", uR"({"resultats":["a;b","c;d"]})", "a;b\r\nc;d\r\n" },
        { "barres devant guillemets", uR"({"resultats":["x;\\\"y\\\""]})", "x;\"y\"\r\n" },
        { "guillemets deja simples", uR"({"resultats":["x;\"y\""]})", "x;\"y\"\r\n" },
        { "double barre puis guillemet", uR"({"resultats":["a\\\\\"b"]})", "a\\\"b\r\n" },
        { "ligne CSV", uR"({"resultats":["12;\"Centre A\";34"]})", "12;\"Centre A\";34\r\n" },
        { "ligne CSV echappee", uR"({"resultats":["12;\\\"Centre A\\\";34"]})", "12;\"Centre A\";34\r\n" },
        { "genres", uR"({"resultats":[1, 2.50, true, null, {"k":"v"}, ["p","q"]]})",
          "1\r\n2.5\r\ntrue\r\nnull\r\n{\"k\":\"v\"}\r\n[\"p\",\"q\"]\r\n" },
        { "objet avec guillemets", uR"({"resultats":[{"k":"say \"hi\""}]})", "{\"k\":\"say \"hi\"\"}\r\n" },
        { "ligne vide gardee", uR"({"resultats":["a",""]})", "a\r\n\r\n" },
        { "saut de ligne dans une ligne", uR"({"resultats":["a\nb"]})", "a\nb\r\n" },
        { "resultats objet", uR"({"resultats":{"a":"1","b":"2"}})", "2\r\n1\r\n" },
        { "autres membres ignores", uR"({"total":2,"resultats":["a"],"fin":true})", "a\r\n" },
        { "texte apres la valeur", uR"({"resultats":["a"]} suite ignoree)", "a\r\n" },
        { "marque d'ordre des octets sautee", u"\uFEFF{\"resultats\":[\"a\"]}", "a\r\n" },
        { "e accent et euro", u"{\"resultats\":[\"é;€\"]}", "\xE9;\x80\r\n" },
        { "euro echappe", uR"({"resultats":["\u20ac"]})", "\x80\r\n" },
        { "hors code page", u"{\"resultats\":[\"中\U0001F600\"]}", "??\r\n" },
        { "barre oblique dans un objet", uR"({"resultats":[{"u":"a/b"}]})", "{\"u\":\"a\\/b\"}\r\n" },
        { "tableau vide", uR"({"resultats":[]})", "" },
        { "objet vide", u"{}", "" },
        { "Resultats en majuscule", uR"({"Resultats":["a"]})", "" },
        { "resultats nul", uR"({"resultats":null})", "" },
        { "resultats texte", uR"({"resultats":"a"})", "" },
        { "resultats nombre", uR"({"resultats":5})", "" },
        { "resultats objet vide", uR"({"resultats":{}})", "" },
        { "reponse vide", u"", "" },
        { "page HTML", u"<html><body>Erreur 500</body></html>", "" },
        { "tableau au sommet", uR"(["a","b"])", "" },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Hexa(ContenuFichierResultats(c.reponse)), Hexa(c.octets));
    }
}

TEST(ContenuFichierResultats, ReponseIllisible)
{
    const std::u16string_view reponses[] = {
        uR"({"resultats":["a")", uR"({"resultats":["a",)", uR"({"a" 1})",       uR"({"resultats":[1 2]})",
        uR"({"a":1} / x)",       u"/* commentaire",        u"\"texte sans fin",
    };
    for (std::u16string_view reponse : reponses) {
        SCOPED_TRACE(tq::VersUtf8(reponse));
        try {
            ContenuFichierResultats(reponse);
            ADD_FAILURE() << "an unreadable answer gave a file";
        } catch (const tq::ErreurReponseIllisible& e) {
            EXPECT_STREQ(e.what(), "Réponse du serveur illisible : aucun fichier n'a été écrit");
        }
    }
}

TEST(ContenuFichierJson, LaReponseEnUneLigne)
{
    const TCas cas[] = {
        { "liste de centres", uR"({"centres":[]})", "{\"centres\":[]}\r\n" },
        { "vide", u"", "\r\n" },
        { "sauts de ligne gardes", u"{\r\n\"a\":1\n}", "{\r\n\"a\":1\n}\r\n" },
        { "barres gardees", uR"({"a":"x\"y"})", "{\"a\":\"x\\\"y\"}\r\n" },
        { "pas du JSON", u"{\"a\":", "{\"a\":\r\n" },
        { "accents", u"{\"ville\":\"Château\"}", "{\"ville\":\"Ch\xE2teau\"}\r\n" },
        { "marque d ordre des octets", u"\uFEFF{}", "{}\r\n" },
        { "marque d ordre au milieu", u"{}\uFEFF", "{}?\r\n" },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Hexa(tq::ContenuFichierJson(c.reponse)), Hexa(c.octets));
    }
}

// Lines given as element texts; the file must hold them with each
// backslash-quote pair replaced, from left to right.
TEST(ContenuFichierResultats, BarresDevantGuillemets)
{
    struct TLigne {
        const char* nom;
        std::u16string_view ligne;
        std::u16string_view attendu;
    };
    const TLigne lignes[] = {
        { "sans barre", u"12;\"Centre A\";34", u"12;\"Centre A\";34" },
        { "paires", u"12;\\\"Centre A\\\";34", u"12;\"Centre A\";34" },
        { "double barre", u"a\\\\\"b", u"a\\\"b" },
        { "triple barre", u"a\\\\\\\"b", u"a\\\\\"b" },
        { "paires collees", u"\\\"\\\"", u"\"\"" },
        { "barre en fin", u"a\\", u"a\\" },
        { "guillemet puis barre", u"\"\\", u"\"\\" },
        { "barre seule", u"\\", u"\\" },
        { "vide", u"", u"" },
    };
    for (const TLigne& l : lignes) {
        SCOPED_TRACE(l.nom);
        std::u16string reponse = u"[\"";
        for (char16_t c : l.ligne) {
            if (c == u'"' || c == u'\\')
                reponse += u'\\';
            reponse += c;
        }
        EXPECT_EQ(ContenuFichierResultats(u"{\"resultats\":" + reponse + u"\"]}"), tq::VersUtf8(l.attendu) + "\r\n");
    }
}

// A file of many lines: every line lands whole and in order.
TEST(ContenuFichierResultats, GrandNombreDeLignes)
{
    std::u16string reponse = u"{\"resultats\":[";
    std::string attendu;
    for (int i = 0; i < 20000; ++i) {
        const std::string numero = std::to_string(i);
        reponse += (i ? u",\"" : u"\"") + tq::DepuisUtf8(numero) + u";\\\\\\\"é\\\\\\\"\"";
        attendu += numero + ";\"\xE9\"\r\n";
    }
    reponse += u"]}";
    EXPECT_EQ(ContenuFichierResultats(reponse), attendu);
}

// The lines handed out a piece at a time: every piece is whole lines, holds
// at least the size asked for unless the lines run out, and the pieces in
// order are the file.
TEST(LignesResultats, ParPieces)
{
    const std::u16string_view reponse = uR"({"resultats":["a;b","","c;d;e",7,"\\\"x"]})";
    struct TCas {
        const char* nom;
        std::size_t taille;
        std::vector<std::string> pieces;
    };
    const TCas cas[] = {
        { "taille nulle", 0, { "a;b\r\n", "\r\n", "c;d;e\r\n", "7\r\n", "\"x\r\n" } },
        { "taille d une ligne", 5, { "a;b\r\n", "\r\nc;d;e\r\n", "7\r\n\"x\r\n" } },
        { "ligne a cheval", 6, { "a;b\r\n\r\n", "c;d;e\r\n", "7\r\n\"x\r\n" } },
        { "tout d un coup", 1000, { "a;b\r\n\r\nc;d;e\r\n7\r\n\"x\r\n" } },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        tq::TLignesResultats lignes(reponse);
        std::vector<std::string> pieces;
        while (!lignes.Finies() && pieces.size() <= c.pieces.size()) {
            pieces.emplace_back();
            lignes.AjouterSuivantes(pieces.back(), c.taille);
        }
        EXPECT_EQ(pieces, c.pieces);
    }
    EXPECT_TRUE(tq::TLignesResultats(uR"({"resultats":[]})").Finies());
}

// The rule written plainly: drop each backslash that stands directly before a
// quote, scanning from left to right, then convert.
std::string SansBarresDevantGuillemets(std::u16string_view texte)
{
    std::u16string garde;
    for (std::size_t i = 0; i < texte.size(); ++i) {
        if (texte[i] == u'\\' && i + 1 < texte.size() && texte[i + 1] == u'"')
            ++i;
        garde += texte[i];
    }
    return tq::VersAnsi(garde);
}

// Each pattern at every place of lines long and short enough to cross the
// eight-at-a-time runs and their ends, among ASCII, accented letters,
// characters with no byte and a character outside the code page.
TEST(LigneResultat, SansBarresDevantGuillemets)
{
    const std::u16string_view motifs[] = { u"\\\"", u"\\\\\"",   u"\\\\\\\"",   u"\\",
                                           u"\"\\", u"\\\"\\\"", u"\\\uFEFF\"", u"\\\u00E9\"" };
    const std::u16string_view fonds[] = { u"abcdefghijklmnopqrstuvwxyz0123",
                                          u"\u00E9t\u00E9 \u20AC; \u0153uvre; caf\u00E9s;", u"\u200B\u4E2Dx\U0001F600y",
                                          u"" };
    for (const std::u16string_view fond : fonds) {
        for (const std::u16string_view motif : motifs) {
            for (std::size_t place = 0; place <= fond.size(); ++place) {
                std::u16string ligne { fond };
                ligne.insert(place, motif);
                SCOPED_TRACE(tq::VersUtf8(ligne));
                std::string sortie = "x";
                tq::AjouterLigneResultat(sortie, ligne);
                EXPECT_EQ(Hexa(sortie), Hexa("x" + SansBarresDevantGuillemets(ligne) + "\r\n"));
            }
        }
    }
    std::string sortie;
    tq::AjouterLigneResultat(sortie, u"12;\\\"Centre \u00C9t\u00E9\\\";\\\\\";\\");
    EXPECT_EQ(Hexa(sortie), Hexa("12;\"Centre \xC9t\xE9\";\\\";\\\r\n"));
}

} // namespace
