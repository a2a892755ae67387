#include "json/strict/document_strict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace js = tq::json_strict;

// A document of several megabytes takes the large-buffer road for its
// texts: every string must still come out whole and in its place.
TEST(GrandDocumentStrict, ChainesEtNombresEnPlace)
{
    struct TElement {
        const char* nom;
        std::string_view json;
        std::u16string_view texte;
    };
    const TElement modeles[] = {
        { "ascii", R"("12;01/03/2024;Centre Lyon;Visite periodique;45,90")",
          u"12;01/03/2024;Centre Lyon;Visite periodique;45,90" },
        { "accents", "\"Contr\xC3\xB4le \xC3\xA0 Besan\xC3\xA7on \xE2\x82\xAC\"",
          u"Contr\u00F4le \u00E0 Besan\u00E7on \u20AC" },
        { "echappements", R"("a\"b\\c\u00e9\n")", u"a\"b\\c\u00E9\n" },
        { "vide", R"("")", u"" },
        { "nombre", "-12.5e3", u"-12500" },
    };
    constexpr std::size_t Repetitions = 40000;
    std::string json = "[";
    for (std::size_t i = 0; i < Repetitions; ++i) {
        for (const TElement& m : modeles) {
            if (json.size() > 1)
                json += ',';
            json += m.json;
        }
    }
    json += ']';
    ASSERT_GT(json.size(), std::size_t { 4 } << 20);

    const std::optional<js::TDocument> document = js::ParseDocument(json, 0);
    ASSERT_TRUE(document);
    const js::TValeur& tableau = document->Racine();
    constexpr std::size_t N = std::size(modeles);
    ASSERT_EQ(js::ElementCount(tableau), Repetitions * N);
    for (std::size_t i : { std::size_t { 0 }, Repetitions / 2, Repetitions - 1 }) {
        for (std::size_t k = 0; k < N; ++k) {
            SCOPED_TRACE(modeles[k].nom);
            SCOPED_TRACE(i);
            const js::TValeur* element = js::ElementAt(tableau, static_cast<std::ptrdiff_t>(i * N + k));
            ASSERT_NE(element, nullptr);
            EXPECT_EQ(js::ValueText(*element, u'.'), modeles[k].texte);
        }
    }
}

} // namespace
