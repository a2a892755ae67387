#include "json/souple/valeur_souple.h"

#include "tests/json_souple/aide_souple.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace tq::json_souple;
using namespace std::literals;
using tq::json_souple::essai::TexteDe;

namespace {

struct CasNombre {
    const char* nom;
    std::u16string_view entree;
    TGenreSouple genre;
    std::int64_t entier; // the integer, or the count of ten-thousandths
    double flottant;
    std::u16string_view texte; // AsText
};

constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();

} // namespace

TEST(Nombres, GenresValeursEtTextes)
{
    const CasNombre cas[] = {
        { "integer", u"1", TGenreSouple::Entier, 1, 0, u"1" },
        { "negative integer", u"-7", TGenreSouple::Entier, -7, 0, u"-7" },
        { "leading zeros", u"007", TGenreSouple::Entier, 7, 0, u"7" },
        { "minus zero integer", u"-0", TGenreSouple::Entier, 0, 0, u"0" },
        { "largest integer", u"9223372036854775807", TGenreSouple::Entier, Max, 0, u"9223372036854775807" },
        { "smallest integer", u"-9223372036854775808", TGenreSouple::Entier, Min, 0, u"-9223372036854775808" },
        { "integer past 64 bits", u"9223372036854775808", TGenreSouple::Texte, 0, 0, u"9223372036854775808" },
        { "decimal 2.50", u"2.50", TGenreSouple::Decimal, 25000, 0, u"2.5" },
        { "decimal 2.0", u"2.0", TGenreSouple::Decimal, 20000, 0, u"2." },
        { "decimal 3.", u"3.", TGenreSouple::Decimal, 30000, 0, u"3." },
        { "decimal -0.25", u"-0.25", TGenreSouple::Decimal, -2500, 0, u"-0.25" },
        { "decimal 1.2345", u"1.2345", TGenreSouple::Decimal, 12345, 0, u"1.2345" },
        { "decimal 0.5", u"0.5", TGenreSouple::Decimal, 5000, 0, u"0.5" },
        { "decimal 0.0001", u"0.0001", TGenreSouple::Decimal, 1, 0, u"0.0001" },
        { "decimal 10.", u"10.", TGenreSouple::Decimal, 100000, 0, u"10." },
        { "decimal -1.5", u"-1.5", TGenreSouple::Decimal, -15000, 0, u"-1.5" },
        { "decimal -.5", u"-.5", TGenreSouple::Decimal, -5000, 0, u"-0.5" },
        { "decimal zero", u"0.0", TGenreSouple::Decimal, 0, 0, u"0" },
        { "decimal minus zero", u"-0.000", TGenreSouple::Decimal, 0, 0, u"0" },
        { "decimal 1.0100", u"1.0100", TGenreSouple::Decimal, 10100, 0, u"1.01" },
        { "largest decimal", u"922337203685477.5807", TGenreSouple::Decimal, Max, 0, u"922337203685477.5807" },
        { "smallest decimal", u"-922337203685477.5808", TGenreSouple::Decimal, Min, 0, u"-922337203685477.5808" },
        { "decimal past 64 bits", u"922337203685477.5808", TGenreSouple::Texte, 0, 0, u"922337203685477.5808" },
        { "decimal scaled past 64 bits", u"922337203685478.", TGenreSouple::Texte, 0, 0, u"922337203685478." },
        { "five decimals", u"1.23456", TGenreSouple::Flottant, 0, 1.23456, u"1.23456" },
        { "exponent", u"1e3", TGenreSouple::Flottant, 0, 1000, u"1000" },
        { "small exponent", u"1E-7", TGenreSouple::Flottant, 0, 1e-7, u"1e-07" },
        { "large exponent", u"1.5e300", TGenreSouple::Flottant, 0, 1.5e300, u"1.5e+300" },
        { "fifteen digits", u"0.12345678901234567", TGenreSouple::Flottant, 0, 0.12345678901234567,
          u"0.123456789012346" },
        { "fixed up to 15 digits", u"123456789012345e0", TGenreSouple::Flottant, 0, 123456789012345.0,
          u"123456789012345" },
        { "exponent from 16 digits", u"1234567890123456e0", TGenreSouple::Flottant, 0, 1234567890123456.0,
          u"1.23456789012346e+15" },
        { "minus zero floating", u"-0e0", TGenreSouple::Flottant, 0, 0, u"0" },
        { "beyond double range", u"1e999", TGenreSouple::Texte, 0, 0, u"1e999" },
        { "lone minus", u"-", TGenreSouple::Texte, 0, 0, u"-" },
        { "minus inside", u"1-2", TGenreSouple::Texte, 0, 0, u"1-2" },
        { "two points", u"1.2.3", TGenreSouple::Texte, 0, 0, u"1.2.3" },
        { "point after exponent", u"1e5.5", TGenreSouple::Texte, 0, 0, u"1e5.5" },
        { "exponent without digits", u"1e", TGenreSouple::Texte, 0, 0, u"1e" },
        { "point without digits", u"-.", TGenreSouple::Texte, 0, 0, u"-." },
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto document = ParseLenientText(c.entree);
        ASSERT_TRUE(document);
        const TValeurSouple& v = document->Racine();
        EXPECT_EQ(v.Genre(), c.genre);
        switch (c.genre) {
        case TGenreSouple::Entier:
            EXPECT_EQ(v.Entier(), c.entier);
            break;
        case TGenreSouple::Decimal:
            EXPECT_EQ(v.DixMilliemes(), c.entier);
            break;
        case TGenreSouple::Flottant:
            EXPECT_DOUBLE_EQ(v.Flottant(), c.flottant);
            break;
        default:
            EXPECT_EQ(v.Texte(), c.entree);
            break;
        }
        EXPECT_EQ(TexteDe(v), c.texte);
    }
}

// The kinds of the numbers of one array, and their text.
TEST(Nombres, GenresDansUnTableau)
{
    const auto liste = ParseLenientText(u"[1, 2.50, 2.0, 1.23456, 1e3, -7 ]"sv);
    ASSERT_TRUE(liste);
    const TGenreSouple genres[] = { TGenreSouple::Entier,   TGenreSouple::Decimal,  TGenreSouple::Decimal,
                                    TGenreSouple::Flottant, TGenreSouple::Flottant, TGenreSouple::Entier };
    const std::u16string_view textes[] = { u"1", u"2.5", u"2.", u"1.23456", u"1000", u"-7" };
    const auto elements = EnumerateElements(liste->Racine());
    ASSERT_EQ(elements.size(), std::size(genres));
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(elements[i].Genre(), genres[i]);
        EXPECT_EQ(TexteDe(elements[i]), textes[i]);
    }
}
