#include "json/strict/document_strict.h"
#include "platform/erreur.h"
#include "platform/texte_utf.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

using namespace tq::json_strict;

namespace {

TDocument Lire(std::string_view octets)
{
    auto document = ParseDocument(octets);
    if (!document)
        throw std::invalid_argument { "texte de test illisible : " + std::string { octets } };
    return std::move(*document);
}

// Same kinds, order, names, texts and number characters.
void ComparerArbres(const TValeur& a, const TValeur& b)
{
    ASSERT_EQ(ValueKind(a), ValueKind(b));
    ASSERT_EQ(PairCount(a), PairCount(b));
    ASSERT_EQ(ElementCount(a), ElementCount(b));
    if (ValueKind(a) == TTypeValeur::Chaine || ValueKind(a) == TTypeValeur::Nombre) {
        EXPECT_TRUE(ToJsonText(a) == ToJsonText(b));
    }
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(PairCount(a)); ++i) {
        EXPECT_TRUE(PairName(*PairAt(a, i)) == PairName(*PairAt(b, i)));
        ComparerArbres(PairValue(*PairAt(a, i)), PairValue(*PairAt(b, i)));
    }
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(ElementCount(a)); ++i)
        ComparerArbres(*ElementAt(a, i), *ElementAt(b, i));
}

} // namespace

TEST(ValeursStrictes, RecherchePaire)
{
    struct Cas {
        const char* nom;
        std::string_view objet;
        std::u16string_view cle;
        std::optional<std::u16string> valeur;
    };
    const Cas cas[] = {
        { "premier des doublons", R"({"a":1,"a":2})", u"a", u"1" },
        { "casse comptee", R"({"a":1})", u"A", std::nullopt },
        { "prefixe", R"({"ab":1})", u"a", std::nullopt },
        { "plus long", R"({"a":1})", u"ab", std::nullopt },
        { "nom echappe", R"({"\u0061":1})", u"a", u"1" },
        { "nom vide", R"({"x":1,"":2})", u"", u"2" },
        { "sans normalisation", "{\"e\\u0301\":1,\"\xC3\xA9\":2}", u"\u00E9", u"2" },
        { "objet vide", "{}", u"a", std::nullopt },
        { "tableau", R"([{"a":1}])", u"a", std::nullopt },
        { "chaine", R"("a")", u"a", std::nullopt },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const TDocument document = Lire(c.objet);
        const TPaire* paire = FindPair(document.Racine(), c.cle);
        ASSERT_EQ(paire != nullptr, c.valeur.has_value());
        if (paire) {
            EXPECT_TRUE(PairName(*paire) == c.cle);
            EXPECT_EQ(ToJsonText(PairValue(*paire)), *c.valeur);
        }
    }
}

TEST(ValeursStrictes, ElementsEtPairesBornes)
{
    const TDocument tableau = Lire("[10,20,30]");
    const TDocument objet = Lire(R"({"a":10,"b":20})");
    constexpr auto Max = std::numeric_limits<std::ptrdiff_t>::max();
    constexpr auto Min = std::numeric_limits<std::ptrdiff_t>::min();
    struct Cas {
        std::ptrdiff_t indice;
        const char16_t* element;
        const char16_t* paire;
    };
    const Cas cas[] = { { Min, nullptr, nullptr }, { -1, nullptr, nullptr }, { 0, u"10", u"a" },
                        { 1, u"20", u"b" },        { 2, u"30", nullptr },    { 3, nullptr, nullptr },
                        { Max, nullptr, nullptr } };
    ASSERT_EQ(ElementCount(tableau.Racine()), 3u);
    ASSERT_EQ(PairCount(objet.Racine()), 2u);
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.indice);
        const TValeur* element = ElementAt(tableau.Racine(), c.indice);
        ASSERT_EQ(element != nullptr, c.element != nullptr);
        if (element) {
            EXPECT_EQ(ToJsonText(*element), c.element);
        }
        const TPaire* paire = PairAt(objet.Racine(), c.indice);
        ASSERT_EQ(paire != nullptr, c.paire != nullptr);
        if (paire) {
            EXPECT_TRUE(PairName(*paire) == c.paire);
        }
        // Array operations on an object, and object operations on an array, find nothing.
        EXPECT_EQ(ElementAt(objet.Racine(), c.indice), nullptr);
        EXPECT_EQ(PairAt(tableau.Racine(), c.indice), nullptr);
    }
    EXPECT_EQ(ElementCount(objet.Racine()), 0u);
    EXPECT_EQ(PairCount(tableau.Racine()), 0u);
    EXPECT_EQ(ElementCount(Lire("[]").Racine()), 0u);
    EXPECT_EQ(ElementAt(Lire("[]").Racine(), 0), nullptr);
}

TEST(ValeursStrictes, GenreDesValeurs)
{
    const TDocument document = Lire(R"([{},[],"",0,true,false,null])");
    const TTypeValeur attendus[] = { TTypeValeur::Objet, TTypeValeur::Tableau, TTypeValeur::Chaine, TTypeValeur::Nombre,
                                     TTypeValeur::Vrai,  TTypeValeur::Faux,    TTypeValeur::Nul };
    ASSERT_EQ(ElementCount(document.Racine()), std::size(attendus));
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(std::size(attendus)); ++i)
        EXPECT_EQ(ValueKind(*ElementAt(document.Racine(), i)), attendus[i]) << i;
}

TEST(ValeursStrictes, VueSurLesChaines)
{
    // Escapes decoded, a NUL kept, characters beyond the BMP as two units;
    // every kind other than a string gives the empty text.
    const TDocument document =
        Lire(R"(["", "a\"b\\c\u00e9\n", "x\u0000y", "\ud83d\ude00", 12, true, null, {"a":"b"}, ["c"]])");
    const std::u16string_view attendus[] = {
        u"", u"a\"b\\c\u00e9\n", std::u16string_view(u"x\0y", 3), u"\U0001F600", u"", u"", u"", u"", u""
    };
    ASSERT_EQ(ElementCount(document.Racine()), std::size(attendus));
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(std::size(attendus)); ++i) {
        SCOPED_TRACE(i);
        const TValeur& valeur = *ElementAt(document.Racine(), i);
        EXPECT_TRUE(StringView(valeur) == attendus[i]);
        if (ValueKind(valeur) == TTypeValeur::Chaine) {
            EXPECT_TRUE(StringView(valeur) == ValueText(valeur, u','));
        }
    }
}

TEST(ValeursStrictes, DocumentDeplace)
{
    auto lu = ParseDocument(R"({"centres":[{"enseigne":"Nord"}]})");
    ASSERT_TRUE(lu);
    const TValeur* centre = ElementAt(PairValue(*FindPair(lu->Racine(), u"centres")), 0);
    TDocument document = std::move(*lu);
    lu.reset();
    // Handles taken before the move still reach the same storage.
    EXPECT_EQ(ValueText(PairValue(*FindPair(*centre, u"enseigne")), u','), u"Nord");
    EXPECT_EQ(ToJsonText(document.Racine()), u"{\"centres\":[{\"enseigne\":\"Nord\"}]}");
}

TEST(ValeursStrictes, TexteDesValeurs)
{
    struct Cas {
        const char* nom;
        std::string_view valeur;
        char16_t separateur;
        std::u16string_view attendu;
    };
    const Cas cas[] = {
        { "entier", "42", u',', u"42" },
        { "zero decimal", "42.0", u',', u"42" },
        { "negatif", "-7", u',', u"-7" },
        { "exposant", "4.2E1", u',', u"42" },
        { "exposant plus", "1E+2", u',', u"100" },
        { "exposant moins", "1e-2", u',', u"0,01" },
        { "fraction", "1.50", u',', u"1,5" },
        { "dixieme", "0.1", u',', u"0,1" },
        { "point", "1.5", u'.', u"1.5" },
        { "onze chiffres", "12345678901", u',', u"12345678901" },
        { "onze avec exposant", "123456789e1", u',', u"1234567890" },
        { "plus petit denormal", "5e-324", u',', u"4,94065645841247E-324" },
        { "douze chiffres", "123456789012", u',', u"123456789012" },
        { "dix-sept chiffres", "12345678901234567", u',', u"12345678901234567" },
        { "plus grand entier", "9223372036854775807", u',', u"9223372036854775807" },
        { "plus petit entier", "-9223372036854775808", u',', u"-9223372036854775808" },
        { "douze avec signe", "-12345678901", u',', u"-12345678901" },
        { "quinze chiffres", "123456789012345.6", u',', u"123456789012346" },
        { "un dixieme de plus", "0.30000000000000004", u',', u"0,3" },
        { "dernier fixe", "999999999999999.0", u',', u"999999999999999" },
        { "premier scientifique", "1000000000000000.0", u',', u"1E15" },
        { "grand", "1e20", u',', u"1E20" },
        { "grand fraction", "1.5e20", u',', u"1,5E20" },
        { "petit fixe", "0.00001", u',', u"0,00001" },
        { "petit scientifique", "0.000001", u',', u"1E-6" },
        { "petit fraction", "-1.5e-7", u',', u"-1,5E-7" },
        { "zero negatif", "-0", u',', u"0" },
        { "plus grand double", "1.7976931348623157e308", u',', u"1,79769313486232E308" },
        { "trop grand", "1e400", u',', u"INF" },
        { "trop grand negatif", "-0.01e401", u',', u"-INF" },
        { "trop petit", "1000e-400", u',', u"0" },
        { "chaine", R"("a\"b")", u',', u"a\"b" },
        { "chaine vide", R"("")", u',', u"" },
        { "vrai", "true", u',', u"" },
        { "nul", "null", u',', u"" },
        { "objet", R"({"a":1})", u',', u"" },
        { "tableau", "[1]", u',', u"" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(ValueText(Lire(c.valeur).Racine(), c.separateur), c.attendu);
    }
}

TEST(ValeursStrictes, EntierLongIncorrect)
{
    const char* const cas[] = { "12345678901e2", "1234567890E1", "9223372036854775808", "-9223372036854775809",
                                "100000000000000000000" };
    for (const char* source : cas) {
        SCOPED_TRACE(source);
        const TDocument document = Lire(source);
        try {
            ValueText(document.Racine(), u',');
            ADD_FAILURE() << "aucune erreur";
        } catch (const tq::Erreur& e) {
            EXPECT_EQ(std::string { e.what() },
                      "'" + std::string { source } + "' n'est pas une valeur enti\xC3\xA8re correcte");
        }
    }
}

TEST(ValeursStrictes, Serialisation)
{
    struct Cas {
        const char* nom;
        std::string_view entree;
        std::u16string_view attendu;
    };
    const Cas cas[] = {
        { "compacte", R"({"a" : [ 1 , true ] , "b" : null })", u"{\"a\":[1,true],\"b\":null}" },
        // x " y \ z: five characters, nine once written.
        { "guillemet et barre", R"("x\"y\\z")", u"\"x\\\"y\\\\z\"" },
        { "e accent", R"("\u00e9")", u"\"\u00E9\"" },
        { "controles ecrits tels quels", R"("\n\t\b\u0001\/")", u"\"\n\t\b\x01/\"" },
        { "nombre tel qu'ecrit", "1.0", u"1.0" },
        { "noms echappes", R"({"\"":"\\"})", u"{\"\\\"\":\"\\\\\"}" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(ToJsonText(Lire(c.entree).Racine()), c.attendu);
    }
    EXPECT_EQ(ValueText(Lire(R"("x\"y\\z")").Racine(), u','), u"x\"y\\z");
    EXPECT_EQ(ValueText(Lire("1.0").Racine(), u','), u"1");
}

TEST(ValeursStrictes, AllerRetour)
{
    const char* const cas[] = {
        R"({"centres":[{"id":42,"enseigne":"Ch\u00e2teau \"A\"","ville":"a\\b","x":[1.0,-0,1E+2,{}]}]})",
        "[\"ligne\nsuivante\",\"\xF0\x9F\x98\x80\",\"\x01\",{\"\":{\"a\":1,\"a\":[]}}]",
        R"("\\\"\\")",
        R"([[[[[]]]],{"a":{"b":{"c":null}}}])",
    };
    for (const char* texte : cas) {
        SCOPED_TRACE(texte);
        const TDocument premier = Lire(texte);
        const std::u16string ecrit = ToJsonText(premier.Racine());
        const TDocument second = Lire(tq::VersUtf8(ecrit));
        ComparerArbres(premier.Racine(), second.Racine());
        EXPECT_EQ(ToJsonText(second.Racine()), ecrit);
    }
}
