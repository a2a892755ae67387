#include "json/souple/valeur_souple.h"

#include <gtest/gtest.h>

#include <string>

using namespace tq::json_souple;
using namespace std::literals;

// A temporary text is refused at compile time: the document would refer to
// a text that no longer exists.
template <typename T>
concept Lisible = requires(T&& texte)
{
    ParseLenientText(std::forward<T>(texte));
};
static_assert(!Lisible<std::u16string>);
static_assert(Lisible<std::u16string&>);
static_assert(Lisible<const std::u16string&>);
static_assert(Lisible<std::u16string_view>);

namespace {

struct CasEchappement {
    const char* nom;
    std::u16string_view echappement; // as written in the text
    std::u16string_view unite;       // what it gives
};

// Each escape is placed at every offset of texts of up to 40 code units, in
// each kind of text the reader decodes, so that every way a run of plain
// code units can be cut around it is met.
const CasEchappement cas[] = {
    { "quote", uR"(\")", u"\"" },
    { "apostrophe", uR"(\')", u"'" },
    { "backslash", uR"(\\)", u"\\" },
    { "slash", uR"(\/)", u"/" },
    { "n", uR"(\n)", u"\n" },
    { "u lower", uR"(\u00e9)", u"\u00e9" },
    { "u upper", uR"(\u20AC)", u"\u20ac" },
    { "u zero", uR"(\u0000)", std::u16string_view(u"\0", 1) },
    { "x", uR"(\x41)", u"A" },
    { "other", uR"(\q)", u"q" },
    { "comma", uR"(\,)", u"," },
    { "bracket", uR"(\])", u"]" },
};

std::u16string Repete(char16_t c, std::size_t n)
{
    return std::u16string(n, c);
}

} // namespace

TEST(Echappements, ATousLesDecalages)
{
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        for (std::size_t longueur = 0; longueur <= 40; ++longueur) {
            for (std::size_t position = 0; position <= longueur; ++position) {
                SCOPED_TRACE(testing::Message() << "longueur " << longueur << " position " << position);
                const std::u16string avant = Repete(u'a', position);
                const std::u16string apres = Repete(u'b', longueur - position);
                const std::u16string attendu = avant + std::u16string(c.unite) + apres;
                const std::u16string brut = avant + std::u16string(c.echappement) + apres;

                const std::u16string textes[] = {
                    u"[\"" + brut + u"\"]",    // quoted element
                    u"['" + brut + u"']",      // apostrophes
                    u"[" + brut + u"]",        // unquoted element
                    u"x" + brut,               // unquoted text at the top level
                    u"{" + brut + u"x:true}",  // unquoted name
                    u"{\"" + brut + u"\":[]}", // quoted name
                };
                for (std::size_t k = 0; k < std::size(textes); ++k) {
                    const auto document = ParseLenientText(textes[k]);
                    ASSERT_TRUE(document) << k;
                    const TValeurSouple& racine = document->Racine();
                    switch (k) {
                    case 0:
                    case 1:
                    case 2:
                        ASSERT_EQ(racine.Taille(), 1u);
                        EXPECT_EQ(EnumerateElements(racine)[0].Texte(), attendu) << k;
                        break;
                    case 3:
                        EXPECT_EQ(racine.Texte(), u"x" + attendu);
                        break;
                    case 4:
                        EXPECT_NE(MemberByName(racine, attendu + u"x"), nullptr);
                        break;
                    default:
                        EXPECT_NE(MemberByName(racine, attendu), nullptr);
                        break;
                    }
                }
            }
        }
    }
}

// A quote or the end of the text at every offset: the search for the end of
// a text must stop exactly there.
TEST(Echappements, FinDeTexteATousLesDecalages)
{
    for (std::size_t longueur = 0; longueur <= 40; ++longueur) {
        SCOPED_TRACE(longueur);
        const std::u16string contenu = Repete(u'z', longueur);
        const std::u16string texte = u"[\"" + contenu + u"\",1]";
        const auto ferme = ParseLenientText(texte);
        ASSERT_TRUE(ferme);
        EXPECT_EQ(EnumerateElements(ferme->Racine())[0].Texte(), contenu);

        const std::u16string nonFermes[] = {
            u"[\"" + contenu,
            u"[\"" + contenu + u"\\",
            u"[\"" + contenu + u"\\u00",
            u"[\"" + contenu + u"\\\"",
        };
        for (const auto& nonFerme : nonFermes) {
            EXPECT_FALSE(ParseLenientText(nonFerme));
        }
        // A code unit 0 before the closing quote ends the text there, also once
        // an escape has been decoded, whether the search runs over whole
        // blocks or over the last few code units.
        const std::u16string suiteLongue = u"\"]" + Repete(u' ', 16) + u"\"]";
        for (std::u16string_view debut : { u"[\""sv, u"[\"\\q"sv }) {
            for (std::u16string_view suite : { u"\"]"sv, std::u16string_view(suiteLongue) }) {
                const std::u16string coupe = std::u16string(debut) + contenu + u'\0' + std::u16string(suite);
                EXPECT_FALSE(ParseLenientText(coupe)) << debut.size() << " " << suite.size();
                const std::u16string barreCoupee = std::u16string(debut) + contenu + u"\\" + u'\0' + u"\"]";
                EXPECT_FALSE(ParseLenientText(barreCoupee)) << debut.size();
            }
        }
    }
}
