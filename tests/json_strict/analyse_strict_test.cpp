#include "json/strict/document_strict.h"
#include "platform/texte_utf.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace tq::json_strict;
using namespace std::string_view_literals;

namespace {

// The compact text of what the bytes parse to, or nothing.
std::optional<std::u16string> Relire(std::string_view octets, std::size_t debut = 0)
{
    const auto document = ParseDocument(octets, debut);
    if (!document)
        return std::nullopt;
    return ToJsonText(document->Racine());
}

std::string Imbrication(int profondeur, std::string_view ouvrant, std::string_view cle, std::string_view fermant)
{
    std::string texte;
    for (int i = 0; i < profondeur; ++i)
        texte.append(ouvrant).append(cle);
    texte += "0";
    for (int i = 0; i < profondeur; ++i)
        texte.append(fermant);
    return texte;
}

} // namespace

TEST(AnalyseStricte, TextesAcceptes)
{
    struct Cas {
        const char* nom;
        std::string_view entree;
        std::u16string_view attendu;
    };
    const Cas cas[] = {
        { "objet vide", "{}", u"{}" },
        { "objet vide espace", "{ }", u"{}" },
        { "tableau vide", "[]", u"[]" },
        { "tableau vide espace", "[ ]", u"[]" },
        { "blancs partout", "\t\n\r {\t\n\r\"a\"\t\n\r:\t\n\r[\t1\n,\rtrue ] , \"b\" : null }\r\n",
          u"{\"a\":[1,true],\"b\":null}" },
        { "marque d'ordre", "\xEF\xBB\xBF{}", u"{}" },
        { "marque puis nombre",
          "\xEF\xBB\xBF"
          "7",
          u"7" },
        { "doublons gardes", "{\"a\":1,\"a\":2}", u"{\"a\":1,\"a\":2}" },
        { "litteraux", "[true,false,null]", u"[true,false,null]" },
        { "zero negatif", "-0", u"-0" },
        { "exposant signe", "1E+2", u"1E+2" },
        { "exposant negatif", "1e-2", u"1e-2" },
        { "nombre tel qu'ecrit", "[-0.0,1.50,0e0,12345678901234567890]", u"[-0.0,1.50,0e0,12345678901234567890]" },
        { "chaine racine", "\"x\"", u"\"x\"" },
        { "controles bruts", "\"a\nb\tc\x01\"", u"\"a\nb\tc\x01\"" },
        { "octet nul brut", "\"a\0b\""sv, u"\"a\0b\""sv },
        { "echappements simples", R"("\"\\\/\b\f\n\r\t")", u"\"\\\"\\\\/\b\f\n\r\t\"" },
        { "echappement u minuscules", R"("\u00e9\u0041")", u"\"\u00E9A\"" },
        { "echappement u majuscules", R"("\u00E9")", u"\"\u00E9\"" },
        { "u non hexa", R"("\u12G4")", u"\"\uFFFD\"" },
        { "u sans chiffre", R"(["\uzzzz","\u    x"])", u"[\"\uFFFD\",\"\uFFFDx\"]" },
        { "u et caractere utf8", "\"\\u12\xC3\xA9z!\"", u"\"\uFFFD!\"" },
        { "paire de substitution", R"("\uD83D\uDE00")", u"\"\U0001F600\"" },
        { "moitie haute seule", R"("\uD800x")", u"\"\xD800x\"" },
        { "moities inversees", R"("\uDC00\uD800")", u"\"\xDC00\xD800\"" },
        { "utf8 deux trois quatre", "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"", u"\"\u00E9\u20AC\U0001F600\"" },
        { "utf8 bornes", "\"\xC2\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF\"", u"\"\u0080\uFFFF\U0010FFFF\"" },
        { "chaine longue", "\"0123456789abcdef0123456789abcdef\\\"0123456789abcdef\xC3\xA9\"",
          u"\"0123456789abcdef0123456789abcdef\\\"0123456789abcdef\u00E9\"" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Relire(c.entree), std::optional<std::u16string> { c.attendu });
    }
}

TEST(AnalyseStricte, TextesRefuses)
{
    struct Cas {
        const char* nom;
        std::string_view entree;
    };
    const Cas cas[] = {
        { "vide", "" },
        { "blancs seuls", " \t\r\n" },
        { "marque seule", "\xEF\xBB\xBF" },
        { "marque double", "\xEF\xBB\xBF\xEF\xBB\xBF{}" },
        { "marque apres blanc", " \xEF\xBB\xBF{}" },
        { "saut de page", "\f{}" },
        { "tabulation verticale", "{}\v" },
        { "espace insecable", "\xC2\xA0{}" },
        { "nul apres", "{}\0"sv },
        { "x apres", "{}x" },
        { "deux objets", "{}{}" },
        { "deux nombres", "1 2" },
        { "crochet en trop", "[1]]" },
        { "zero de tete", "01" },
        { "zero de tete negatif", "-01" },
        { "point final", "1." },
        { "point initial", ".5" },
        { "moins seul", "-" },
        { "plus", "+1" },
        { "exposant vide", "1e" },
        { "exposant signe vide", "1e+" },
        { "hexadecimal", "0x10" },
        { "point exposant", "1.e5" },
        { "infini", "Infinity" },
        { "virgule finale objet", "{\"a\":1,}" },
        { "virgule finale tableau", "[1,]" },
        { "virgule seule", "[,]" },
        { "virgules doubles", "[1,,2]" },
        { "deux points manquant", "{\"a\" 1}" },
        { "virgule manquante objet", "{\"a\":1 \"b\":2}" },
        { "virgule manquante tableau", "[1 2]" },
        { "valeur manquante", "{\"a\":}" },
        { "nom nombre", "{1:2}" },
        { "nom nu", "{a:1}" },
        { "apostrophes", "{'a':1}" },
        { "tableau ouvert", "[1" },
        { "objet ouvert", "{\"a\":1" },
        { "True", "True" },
        { "TRUE", "TRUE" },
        { "Null", "Null" },
        { "tronque", "nul" },
        { "trop long", "truee" },
        { "echappement x", R"("\x41")" },
        { "echappement U", R"("\U0041")" },
        { "echappement apostrophe", R"("\'")" },
        { "u court", R"("\u12")" },
        { "u coupe par la fin", R"("\u123)" },
        { "u avale le guillemet", R"(["\u","x"])" },
        { "u coupe par le guillemet", R"(["\u12","x"])" },
        { "u coupe par une barre", R"("\u12\n34")" },
        { "u utf8 mal forme", "\"\\u1\xC3(ab\"" },
        { "barre en fin", "\"\\" },
        { "guillemet manquant", "\"abc" },
        { "octet haut hors chaine", "[1]\xC3\xA9" },
        { "suite isolee", "\"\x80\"" },
        { "surlong deux", "\"\xC0\x80\"" },
        { "surlong C1", "\"\xC1\xBF\"" },
        { "surlong trois", "\"\xE0\x9F\xBF\"" },
        { "surlong quatre", "\"\xF0\x8F\xBF\xBF\"" },
        { "substitut code", "\"\xED\xA0\x80\"" },
        { "au dela de 10FFFF", "\"\xF4\x90\x80\x80\"" },
        { "F5", "\"\xF5\x80\x80\x80\"" },
        { "FF", "\"\xFF\"" },
        { "suite manquante", "\"\xC3(\"" },
        { "sequence coupee par la fin", "\"\xE2\x82" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Relire(c.entree), std::nullopt);
    }
}

TEST(AnalyseStricte, PositionDeDepart)
{
    struct Cas {
        const char* nom;
        std::string_view entree;
        std::size_t debut;
        std::optional<std::u16string> attendu;
    };
    const Cas cas[] = {
        { "apres un prefixe", "xx[1]", 2, u"[1]" },
        { "prefixe non lu", "[1]", 1, std::nullopt },
        { "marque a la position", "ab\xEF\xBB\xBF[1]", 2, u"[1]" },
        { "au bout", "[1]", 3, std::nullopt },
        { "au dela du bout", "[1]", 4, std::nullopt },
        { "tres loin", "[1]", static_cast<std::size_t>(-1), std::nullopt },
        { "dernier octet", "[1] 7", 4, u"7" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Relire(c.entree, c.debut), c.attendu);
    }
}

TEST(AnalyseStricte, ProfondeurBornee)
{
    struct Cas {
        const char* nom;
        std::string_view ouvrant;
        std::string_view cle;
        std::string_view fermant;
    };
    const Cas cas[] = { { "tableaux", "[", "", "]" }, { "objets", "{", "\"a\":", "}" } };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::string limite = Imbrication(512, c.ouvrant, c.cle, c.fermant);
        EXPECT_EQ(Relire(limite), tq::DepuisUtf8(limite));
        EXPECT_EQ(Relire(Imbrication(513, c.ouvrant, c.cle, c.fermant)), std::nullopt);
        EXPECT_EQ(Relire(Imbrication(100000, c.ouvrant, c.cle, c.fermant)), std::nullopt);
        EXPECT_EQ(Relire(std::string(100000, c.ouvrant.front())), std::nullopt);
    }
}

// Every code point, encoded by the platform's converter, decodes to the same
// code units as the platform's decoder gives.
TEST(AnalyseStricte, Utf8TousLesCaracteres)
{
    std::u16string texte;
    for (char32_t point = 0; point <= 0x10FFFF; ++point) {
        if ((point >= 0xD800 && point <= 0xDFFF) || point == U'"' || point == U'\\')
            continue;
        if (point < 0x10000) {
            texte += static_cast<char16_t>(point);
        } else {
            texte += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            texte += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    const auto document = ParseDocument("\"" + tq::VersUtf8(texte) + "\"");
    ASSERT_TRUE(document);
    EXPECT_TRUE(ValueText(document->Racine(), u'.') == texte);
}

namespace {

// A string of these bytes is accepted exactly when they are well-formed
// UTF-8, as told by the platform's decoder, and then holds what it decodes.
void VerifierOctets(const std::string& octets)
{
    if (octets.find_first_of("\"\\") != std::string::npos)
        return;
    const std::u16string decode = tq::DepuisUtf8(octets);
    const bool valide = tq::VersUtf8(decode) == octets;
    const auto document = ParseDocument("\"" + octets + "\"");
    ASSERT_EQ(document.has_value(), valide) << testing::PrintToString(octets);
    if (document) {
        EXPECT_TRUE(ValueText(document->Racine(), u'.') == decode) << testing::PrintToString(octets);
    }
}

} // namespace

TEST(AnalyseStricte, Utf8DeuxEtTroisOctetsExhaustif)
{
    for (int premier = 0x80; premier <= 0xFF; ++premier) {
        for (int second = 0; second <= 0xFF; ++second) {
            ASSERT_NO_FATAL_FAILURE(VerifierOctets({ static_cast<char>(premier), static_cast<char>(second) }));
            if (premier < 0xE0 || premier > 0xEF || second < 0x80 || second > 0xBF)
                continue;
            for (int troisieme = 0; troisieme <= 0xFF; ++troisieme) {
                ASSERT_NO_FATAL_FAILURE(VerifierOctets(
                    { static_cast<char>(premier), static_cast<char>(second), static_cast<char>(troisieme) }));
            }
        }
    }
}
