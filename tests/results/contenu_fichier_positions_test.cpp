#include "contenu_fichier_resultats.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The answer {"resultats":["<line>"]} with the line written as JSON.
std::u16string Reponse(std::u16string_view ligne)
{
    std::u16string reponse = u"{\"resultats\":[\"";
    for (char16_t c : ligne) {
        if (c == u'"' || c == u'\\')
            reponse += u'\\';
        reponse += c;
    }
    return reponse + u"\"]}";
}

// Lines are searched for backslashes several code units at a time; a
// backslash-quote pair, or a lone backslash, must be handled alike wherever
// it stands in the line.
TEST(ContenuFichierPositions, BarreAChaquePlace)
{
    struct TCas {
        const char* nom;
        std::u16string_view motif;
        std::string_view octets;
    };
    const TCas cas[] = {
        { "paire", u"\\\"", "\"" },
        { "barre seule", u"\\", "\\" },
        { "barre puis paire", u"\\\\\"", "\\\"" },
        { "paire puis e accent", u"\\\"\u00E9", "\"\xE9" },
        { "deux paires", u"\\\"z\\\"", "\"z\"" },
    };
    constexpr std::size_t Longueur = 21;
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        for (std::size_t place = 0; place <= Longueur; ++place) {
            SCOPED_TRACE(place);
            std::u16string ligne(Longueur, u'a');
            ligne.insert(place, c.motif);
            const std::string attendu =
                std::string(place, 'a') + std::string(c.octets) + std::string(Longueur - place, 'a') + "\r\n";
            EXPECT_EQ(ContenuFichierResultats(Reponse(ligne)), attendu);
        }
    }
}

} // namespace
