#include "platform/encodage_ansi.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Long runs of ASCII are converted several code units at a time. A character
// that needs the table must give the same bytes wherever it stands in such a
// run: at each place of the first blocks, at a block's end, at the text's end.
TEST(EncodageAnsiPositions, CaractereAChaquePlaceDUneSuiteAscii)
{
    struct TCas {
        const char* nom;
        std::u16string_view caractere;
    };
    const TCas cas[] = {
        { "e accent aigu", u"\u00E9" },
        { "euro", u"\u20AC" },
        { "premier non ASCII", u"\u0080" },
        { "dernier ASCII", u"\u007F" },
        { "nul", std::u16string_view(u"\0", 1) },
        { "dernier C1", u"\u009F" },
        { "espace insecable", u"\u00A0" },
        { "y trema", u"\u00FF" },
        { "A majuscule accent grave", u"\u00C0" },
        { "A macron", u"\u0100" },
        { "marque d'ordre", u"\uFEFF" },
        { "paire de substitution", u"\U0001F600" },
        { "points de suspension", u"\u2026" },
    };
    constexpr std::size_t Longueur = 27;
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        // A text of a single character takes the one-by-one road only.
        const std::string seulAnsi = tq::VersAnsi(c.caractere);
        const std::string seulAscii = tq::ReductionAscii(c.caractere);
        for (std::size_t place = 0; place <= Longueur; ++place) {
            SCOPED_TRACE(place);
            std::u16string texte(Longueur, u'a');
            texte.insert(place, c.caractere);
            const std::string avant(place, 'a');
            const std::string apres(Longueur - place, 'a');
            EXPECT_EQ(tq::VersAnsi(texte), avant + seulAnsi + apres);
            EXPECT_EQ(tq::ReductionAscii(texte), avant + seulAscii + apres);
            std::string suite = "x";
            tq::AjouterEnAnsi(suite, texte);
            EXPECT_EQ(suite, "x" + avant + seulAnsi + apres);
        }
    }
}

// Two characters that need the table, close together, at every distance.
TEST(EncodageAnsiPositions, DeuxCaracteresProches)
{
    for (std::size_t ecart = 0; ecart < 20; ++ecart) {
        SCOPED_TRACE(ecart);
        const std::u16string texte = u"\u00E9" + std::u16string(ecart, u'b') + u"\u20AC" + std::u16string(9, u'c');
        EXPECT_EQ(tq::VersAnsi(texte), "\xE9" + std::string(ecart, 'b') + "\x80" + std::string(9, 'c'));
    }
}

} // namespace
