#include "json/souple/valeur_souple.h"

#include "platform/texte_utf.h"
#include "tests/json_souple/aide_souple.h"

#include <gtest/gtest.h>

using namespace tq::json_souple;
using tq::json_souple::essai::Compact;
using tq::json_souple::essai::Imbrique;
using tq::json_souple::essai::JsonDe;
using tq::json_souple::essai::TexteDe;

TEST(Ecriture, EchappementMinimal)
{
    struct Cas {
        const char* nom;
        std::u16string_view entree;
        std::u16string_view compact;
    };
    const Cas cas[] = {
        { "quote", uR"(["say \"hi\""])", uR"(["say \"hi\""])" },
        { "backslash", uR"(["a\\b"])", uR"(["a\\b"])" },
        { "slash", uR"(["x/y"])", uR"(["x\/y"])" },
        { "unit 0", uR"(["\u0000"])", uR"(["\u0000"])" },
        { "line feed and e acute raw", u"[\"a\\\"\\n\\u00e9\"]", u"[\"a\\\"\n\u00e9\"]" },
        { "controls raw", uR"(["\b\t\f\r\u0001\u001f\u007f"])", u"[\"\b\t\f\r\u0001\u001f\u007f\"]" },
        { "lone surrogates raw", uR"(["\ud800\udc00\udfff"])", u"[\"\xd800\xdc00\xdfff\"]" },
        { "names escaped the same", uR"({"a/\"\\\u0000":1})", uR"({"a\/\"\\\u0000":1})" },
        { "only escapes", uR"(["\"\\/"])", uR"(["\"\\\/"])" },
        { "empty text", uR"([""])", uR"([""])" },
        { "literals", u"[null,true,false]", u"[null,true,false]" },
        { "nested containers", uR"({a:[{},[],{b:[1,{}]}]})", uR"({"a":[{},[],{"b":[1,{}]}]})" },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Compact(c.entree), std::optional<std::u16string>(c.compact));
    }
}

TEST(Ecriture, AsText)
{
    struct Cas {
        const char* nom;
        std::u16string_view entree;
        std::u16string_view texte;
    };
    const Cas cas[] = {
        { "text unquoted and unescaped", uR"("say \"hi\" a\/b")", uR"(say "hi" a/b)" },
        { "text with e acute", u"'\u00e9t\u00e9'", u"\u00e9t\u00e9" },
        { "null", u"null", u"null" },
        { "true", u"true", u"true" },
        { "false", u"false", u"false" },
        { "array as compact json", uR"([ "a" , 1 , x/y ])", uR"(["a",1,"x\/y"])" },
        { "object as compact json", uR"({ a: 1 , b: "2" })", uR"({"b":"2","a":1})" },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto document = ParseLenientText(c.entree);
        ASSERT_TRUE(document);
        EXPECT_EQ(TexteDe(document->Racine()), c.texte);
        std::u16string suite = u">";
        AsText(document->Racine(), suite);
        EXPECT_EQ(suite, u">" + std::u16string(c.texte));
        std::u16string json = u">";
        CompactJson(document->Racine(), json);
        EXPECT_EQ(json, u">" + JsonDe(document->Racine()));
    }
}

// Writing what was read, reading it again and writing it again gives the
// same text.
TEST(Ecriture, AllerRetourStable)
{
    const std::u16string textes[] = {
        uR"({'resultats':['a;b;c', "d\"e", x/y , 1, 2.50, 3., -0.5, 1.23456, 1e300, -0e0, 1e-7]})",
        uR"({"":{"":[]},"\u0000":"\\/",k:1,k:[2]})",
        u"[true, null, false, nul, 007, -0, 1-2, 9223372036854775808, 1e999]",
        u"[\"\b\t\n\f\r\u00e9\u20ac\xd800\"]",
        u"Erreur 500 ",
        u"",
        Imbrique(31, u"[", u"{}", u"]"),
        Imbrique(31, uR"({"a":)", u"[]", u"}"),
    };
    for (const auto& texte : textes) {
        SCOPED_TRACE(tq::VersUtf8(texte));
        const auto premier = Compact(texte);
        ASSERT_TRUE(premier);
        const auto second = Compact(*premier);
        ASSERT_TRUE(second);
        EXPECT_EQ(*second, *premier);
    }
}
