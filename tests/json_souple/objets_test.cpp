#include "json/souple/valeur_souple.h"

#include "platform/texte_utf.h"
#include "tests/json_souple/aide_souple.h"

#include <gtest/gtest.h>

#include <string>

using namespace tq::json_souple;
using namespace std::literals;
using tq::json_souple::essai::Compact;
using tq::json_souple::essai::TexteDe;

TEST(Objets, OrdreDesMembres)
{
    struct Cas {
        const char* nom;
        std::u16string_view entree;
        std::u16string_view compact;
    };
    const Cas cas[] = {
        { "b before a", uR"({"a":1,"b":"x/y"})", uR"({"b":"x\/y","a":1})" },
        // Hashes, largest first: e-acute 9E3700EA, z 9E37007B, b 9E370063, a 9E370062,
        // resultat 999A5F7C, ba 57EE3245, ab 57EE31C5, aa 57EE31C4, Resultats 24209DD0,
        // resultats 05011DF0.
        { "hash order, not insertion nor alphabet",
          u"{resultats:1,a:2,Resultats:3,b:4,aa:5,resultat:6,z:7,ab:8,ba:9,\u00e9:10}",
          u"{\"\u00e9\":10,\"z\":7,\"b\":4,\"a\":2,\"resultat\":6,\"ba\":9,\"ab\":8,\"aa\":5,\"Resultats\":3,"
          u"\"resultats\":1}" },
        // "A\u00c8" and "BG" share the hash 57EE220B: the smaller name first.
        { "equal hashes by name", u"{BG:1,A\u00c8:2}", u"{\"A\u00c8\":2,\"BG\":1}" },
        // "A\uc177" and "A\uc177\uff8bs" share a hash: the prefix first.
        { "equal hashes prefix first", u"{A\uc177\uff8bs:1,A\uc177:2}", u"{\"A\uc177\":2,\"A\uc177\uff8bs\":1}" },
        { "duplicate replaced in place", u"{k:1,j:5,k:2,k:3}", uR"({"k":3,"j":5})" },
        { "duplicate first read", uR"({"k":1,"a":0,"k":2})", uR"({"k":2,"a":0})" },
        { "duplicate with other quoting", uR"({k:1,'k':2,"k":[3]})", uR"({"k":[3]})" },
        { "empty name", uR"({"":1,a:2})", uR"({"a":2,"":1})" },
        { "names that differ by case", uR"({"K":1,"k":2})", uR"({"k":2,"K":1})" },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Compact(c.entree), std::optional<std::u16string>(c.compact));
    }
}

TEST(Objets, MemberByNameExact)
{
    const auto document =
        ParseLenientText(u"{\"resultats\":1,\"Resultats\":2,\"resultat\":3,\" resultats\":4,\"r\u00e9sultats\":5,"
                         u"\"a\\u0000b\":6,\"BG\":7,\"A\u00c8\":8}"sv);
    ASSERT_TRUE(document);
    struct Cas {
        const char* nom;
        std::u16string_view cle;
        std::int64_t attendu; // 0: no such member
    };
    const Cas cas[] = {
        { "exact", u"resultats", 1 },
        { "case counts", u"Resultats", 2 },
        { "prefix is another name", u"resultat", 3 },
        { "leading space counts", u" resultats", 4 },
        { "accent counts", u"r\u00e9sultats", 5 },
        { "unit 0 inside a name", std::u16string_view(u"a\0b", 3), 6 },
        { "same hash first", u"A\u00c8", 8 },
        { "same hash second", u"BG", 7 },
        { "longer name", u"resultatsx", 0 },
        { "upper case", u"RESULTATS", 0 },
        { "cut at unit 0", u"a", 0 },
        { "empty name", u"", 0 },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const TValeurSouple* v = MemberByName(document->Racine(), c.cle);
        if (c.attendu == 0) {
            EXPECT_EQ(v, nullptr);
        } else {
            ASSERT_NE(v, nullptr);
            EXPECT_EQ(v->Entier(), c.attendu);
        }
    }
}

TEST(Objets, MemberByNameSurLesAutresGenres)
{
    for (std::u16string_view texte : { u"[\"resultats\"]"sv, u"resultats"sv, u"null"sv, u"{}"sv }) {
        SCOPED_TRACE(tq::VersUtf8(texte));
        const auto document = ParseLenientText(texte);
        ASSERT_TRUE(document);
        EXPECT_EQ(MemberByName(document->Racine(), u"resultats"), nullptr);
    }
}

TEST(Objets, GrandObjetTrouveChaqueMembre)
{
    std::u16string texte = u"{";
    for (int i = 0; i < 2000; ++i) {
        texte += u"m" + tq::DepuisUtf8(std::to_string(i)) + u":" + tq::DepuisUtf8(std::to_string(i)) + u",";
    }
    texte += u"}";
    const auto document = ParseLenientText(texte);
    ASSERT_TRUE(document);
    ASSERT_EQ(document->Racine().Taille(), 2000u);
    for (int i = 0; i < 2000; ++i) {
        const TValeurSouple* v = MemberByName(document->Racine(), u"m" + tq::DepuisUtf8(std::to_string(i)));
        ASSERT_NE(v, nullptr) << i;
        EXPECT_EQ(TexteDe(*v), tq::DepuisUtf8(std::to_string(i)));
    }
    EXPECT_EQ(MemberByName(document->Racine(), u"m2000"), nullptr);
    EXPECT_EQ(MemberByName(document->Racine(), u"m"), nullptr);
}

TEST(Objets, EnumerateElements)
{
    struct Cas {
        const char* nom;
        std::u16string_view entree;
        std::u16string_view elements; // AsText of each, joined by "|"
    };
    const Cas cas[] = {
        { "array in index order", uR"(["c","a","b"])", u"c|a|b" },
        { "object in member order", uR"({"a":"1","b":"2",c:[3]})", u"[3]|2|1" },
        { "empty array", u"[]", u"" },
        { "empty object", u"{}", u"" },
        { "text", uR"("abc")", u"" },
        { "number", u"12", u"" },
        { "null", u"null", u"" },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto document = ParseLenientText(c.entree);
        ASSERT_TRUE(document);
        std::u16string joint;
        for (const TValeurSouple& element : EnumerateElements(document->Racine())) {
            if (!joint.empty()) {
                joint += u'|';
            }
            AsText(element, joint);
        }
        EXPECT_EQ(joint, c.elements);
    }
}
