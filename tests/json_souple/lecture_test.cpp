#include "json/souple/valeur_souple.h"

#include "tests/json_souple/aide_souple.h"

#include <gtest/gtest.h>

using namespace tq::json_souple;
using namespace std::literals;
using tq::json_souple::essai::Compact;
using tq::json_souple::essai::Imbrique;
using tq::json_souple::essai::JsonDe;
using tq::json_souple::essai::TexteDe;

namespace {

struct CasAccepte {
    const char* nom;
    std::u16string_view entree;
    std::u16string_view compact;
};

struct CasRefuse {
    const char* nom;
    std::u16string_view entree;
};

} // namespace

// Each leniency of the reader has a row here and its limit a row in the
// rejected table below.
TEST(Lecture, TextesAcceptes)
{
    const CasAccepte cas[] = {
        { "strict object", uR"({"resultats":["a","b"]})", uR"({"resultats":["a","b"]})" },
        { "block comment before", u"/* note */ {\"a\":1} // end", uR"({"a":1})" },
        { "comments everywhere", u"[/*a*/1/*b*/,//c\n2//d\n]", u"[1,2]" },
        { "comment left open after value", u"[1] /* open", u"[1]" },
        { "line comment open after value", u"[1] // no line feed", u"[1]" },
        { "backspace is whitespace", u"\b[\b1\b]", u"[1]" },
        { "apostrophes", uR"({'resultats':['a']})", uR"({"resultats":["a"]})" },
        { "apostrophe text holds double quote", uR"(['say "hi"'])", uR"(["say \"hi\""])" },
        { "raw line feed and tab in text", u"[\"a\nb\tc\"]", u"[\"a\nb\tc\"]" },
        { "escape x", uR"(["\x41\x7a"])", uR"(["Az"])" },
        { "escape u both cases", uR"(["\u00e9\u00C9"])", u"[\"\u00e9\u00c9\"]" },
        { "escape of any other unit", uR"(["\q\'\/"])", uR"(["q'\/"])" },
        { "three escapes in a row", uR"(["\u00e9\x41\q"])", u"[\"\u00e9Aq\"]" },
        { "unquoted names and texts", uR"({resultats:[a]})", uR"({"resultats":["a"]})" },
        { "unquoted text with spaces", uR"({"resultats":[abc def , x]})", uR"({"resultats":["abc def","x"]})" },
        { "unquoted text keeps tab", u"[a\t]", u"[\"a\t\"]" },
        { "unquoted text trims cr lf", u"[a \r\n]", uR"(["a"])" },
        { "unquoted text escape", uR"([a\,b\ ])", uR"(["a,b "])" },
        { "unquoted member value", uR"({"a":x y})", uR"({"a":"x y"})" },
        { "unquoted top level", u"Erreur 500", uR"("Erreur 500")" },
        { "unquoted top level to end", u"a,b]c} d \r\n", uR"("a,b]c} d")" },
        { "unquoted name with spaces", uR"({a b :1})", uR"({"a b ":1})" },
        { "unquoted name escape", uR"({a\:b:1})", uR"({"a:b":1})" },
        { "empty element", u"[1,,2]", uR"([1,"",2])" },
        { "lone comma", u"[,]", uR"([""])" },
        { "missing member value", uR"({"a":,"b":})", uR"({"b":"","a":""})" },
        { "trailing commas", uR"({"resultats":["a",],})", uR"({"resultats":["a"]})" },
        { "parenthesis skipped", uR"(["a",(b)])", uR"x(["a","b)"])x" },
        { "parentheses at top", uR"(({"a":1}))", uR"({"a":1})" },
        { "leading zeros", u"[007]", u"[7]" },
        { "no digit after point", u"[3.]", u"[3.]" },
        { "number-like text", u"[1-2]", uR"(["1-2"])" },
        { "duplicate name", uR"({"k":1,"k":2})", uR"({"k":2})" },
        { "text after value", uR"({"a":1} trailing text)", uR"({"a":1})" },
        { "number then text", u"404 Not Found", u"404" },
        { "literals lower case only", u"[true, True, null, NULL, false, FALSE]",
          uR"([true,"True",null,"NULL",false,"FALSE"])" },
        { "literal prefixes", u"[nul, nullx, null_, null.x, t]", uR"(["nul","nullx","null_","null.x","t"])" },
        { "literal ends at end of text", u"true", u"true" },
        { "literal cut by end of text", u"tru", uR"("tru")" },
        { "literal followed by high unit", u"[null\u0100]", u"[\"null\u0100\"]" },
        { "empty text", u"", uR"("")" },
        { "whitespace only", u" \r\n\t", uR"("")" },
        { "comment only", u"/* x */", uR"("")" },
        { "text ends at unit 0", std::u16string_view(u"[1]\0garbage", 11), u"[1]" },
        { "unit 0 cuts unquoted text", std::u16string_view(u"abc\0def", 7), uR"("abc")" },
        { "vertical tab starts unquoted text", u"\v1", u"\"\v1\"" },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Compact(c.entree), std::optional<std::u16string>(c.compact));
    }
}

TEST(Lecture, TextesRefuses)
{
    const CasRefuse cas[] = {
        { "lone slash after value", uR"({"a":1} / x)" },
        { "lone slash inside", u"[1 / 2]" },
        { "block comment open before value", u"/* open" },
        { "line comment open before value", u"// no line feed" },
        { "comment open inside array", u"[1 /* open" },
        { "vertical tab is no whitespace", u"[1\v]" },
        { "unterminated object", uR"({"a":1)" },
        { "unterminated array", uR"(["a")" },
        { "unterminated text", uR"("abc)" },
        { "quote kinds do not close each other", uR"(['a"])" },
        { "unterminated apostrophe text", u"'abc" },
        { "unterminated unquoted element", u"[a b" },
        { "unterminated unquoted member value", uR"({"a":b c)" },
        { "member without colon", uR"({"a" 1})" },
        { "elements without comma", u"[1 2]" },
        { "literal then garbage", u"[true x]" },
        { "number then letter", u"[-1x]" },
        { "parenthesis not closed for you", u"[(1)]" },
        { "members without comma", uR"({"k":1 "k":2})" },
        { "two commas in object", uR"({"a":1,,})" },
        { "comma first in object", u"{,}" },
        { "name starts with point", u"{.a:1}" },
        { "name starts with bracket", u"{[a]:1}" },
        { "name starts with parenthesis", u"{(a):1}" },
        { "name starts with colon", u"{:1}" },
        { "name starts with brace", u"{{:1}" },
        { "unquoted name without colon", u"{a}" },
        { "object cut after name", uR"({"a")" },
        { "object cut after colon", uR"({"a":)" },
        { "bad hex in u", uR"(["\u00e"])" },
        { "bad hex in x", uR"(["\x4g"])" },
        { "bad hex in unquoted text", uR"(\x4)" },
        { "bad hex in unquoted name", uR"({a\u12:1})" },
        { "escape cut by end", u"\"\\" },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Compact(c.entree), std::nullopt);
    }
}

TEST(Lecture, Imbrication)
{
    struct Cas {
        const char* nom;
        std::u16string texte;
        std::optional<std::u16string> compact;
    };
    const std::u16string trenteEtUnVides = Imbrique(31, u"[", u"\"\"", u"]");
    const Cas cas[] = {
        { "32 arrays", Imbrique(32, u"[", u"", u"]"), Imbrique(32, u"[", u"", u"]") },
        { "33 arrays", Imbrique(33, u"[", u"", u"]"), std::nullopt },
        { "value at level 31", Imbrique(31, u"[", u"1", u"]"), Imbrique(31, u"[", u"1", u"]") },
        { "value at level 32", Imbrique(32, u"[", u"1", u"]"), std::nullopt },
        { "empty element at level 31", Imbrique(31, u"[", u",", u"]"), trenteEtUnVides },
        { "empty element at level 32", Imbrique(32, u"[", u",", u"]"), std::nullopt },
        { "32 objects", Imbrique(31, uR"({"a":)", u"{}", u"}"), Imbrique(31, uR"({"a":)", u"{}", u"}") },
        { "33 objects", Imbrique(32, uR"({"a":)", u"{}", u"}"), std::nullopt },
        { "member value at level 32", Imbrique(31, uR"({"a":)", uR"({"b":1})", u"}"), std::nullopt },
        { "a million brackets", Imbrique(1000000, u"[", u"", u"]"), std::nullopt },
        { "a million parentheses", Imbrique(1000000, u"(", u"1", u""), u"1" },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Compact(c.texte), c.compact);
    }
}

TEST(Lecture, TexteContenantUnZeroEchappe)
{
    const auto document = ParseLenientText(uR"(["a\u0000b", 'c\x00'])"sv);
    ASSERT_TRUE(document);
    const auto elements = EnumerateElements(document->Racine());
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].Texte(), std::u16string_view(u"a\0b", 3));
    EXPECT_EQ(elements[1].Texte(), std::u16string_view(u"c\0", 2));
    EXPECT_EQ(JsonDe(document->Racine()), uR"(["a\u0000b","c\u0000"])");
}

TEST(Lecture, LeDocumentDeplaceGardeSesValeurs)
{
    const std::u16string texte = uR"({"resultats":["ligne \"1\"", x, 'y'], "autre": 2})";
    auto document = ParseLenientText(texte);
    ASSERT_TRUE(document);
    TDocumentSouple deplace = std::move(*document);
    document.reset();
    const TValeurSouple* resultats = MemberByName(deplace.Racine(), u"resultats");
    ASSERT_NE(resultats, nullptr);
    ASSERT_EQ(resultats->Taille(), 3u);
    EXPECT_EQ(TexteDe(EnumerateElements(*resultats)[0]), u"ligne \"1\"");
    EXPECT_EQ(TexteDe(EnumerateElements(*resultats)[1]), u"x");
    EXPECT_EQ(TexteDe(EnumerateElements(*resultats)[2]), u"y");
    EXPECT_EQ(JsonDe(deplace.Racine()), uR"({"autre":2,"resultats":["ligne \"1\"","x","y"]})");
    // The text read is left as it was: escapes are decoded elsewhere.
    EXPECT_EQ(texte, uR"({"resultats":["ligne \"1\"", x, 'y'], "autre": 2})");
}

// Texts and arrays of every size class of the document's storage, read
// together so that a block too small for one of them would be overrun.
TEST(Lecture, GrandsTextesEtTableaux)
{
    for (std::size_t taille : { 7u, 8000u, 20000u, 70000u, 300000u }) {
        SCOPED_TRACE(taille);
        std::u16string ligne;
        std::u16string echappee;
        for (std::size_t i = 0; i < taille; ++i) {
            // Upper-case letters: none of them is an escape letter.
            const char16_t c = static_cast<char16_t>(u'A' + i % 26);
            ligne += c;
            echappee += i % 3 == 0 ? std::u16string(u"\\") + c : std::u16string(1, c);
        }
        std::u16string texte = u"[\"" + echappee + u"\",[";
        for (std::size_t i = 0; i < taille / 8; ++i) {
            texte += u"1,";
        }
        texte += u"],'" + echappee + u"']";
        const auto document = ParseLenientText(texte);
        ASSERT_TRUE(document);
        const auto elements = EnumerateElements(document->Racine());
        ASSERT_EQ(elements.size(), 3u);
        EXPECT_EQ(elements[0].Texte(), ligne);
        ASSERT_EQ(elements[1].Taille(), taille / 8);
        for (const TValeurSouple& un : EnumerateElements(elements[1])) {
            ASSERT_EQ(un.Entier(), 1);
        }
        EXPECT_EQ(elements[2].Texte(), ligne);
    }
}
