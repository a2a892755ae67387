#include "platform/caracteres.h"

#include <gtest/gtest.h>

namespace {

// Every byte value and the UTF-16 units just around ASCII: only the ASCII
// digits and letters count, the same for char, unsigned char and char16_t.
TEST(Caracteres, ChiffresLettresEtHexaSurTousLesOctets)
{
    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        const bool chiffre = i >= '0' && i <= '9';
        const bool lettre = (i >= 'a' && i <= 'z') || (i >= 'A' && i <= 'Z');
        const int hexa = chiffre                ? i - '0'
                       : (i >= 'a' && i <= 'f') ? i - 'a' + 10
                       : (i >= 'A' && i <= 'F') ? i - 'A' + 10
                                                : -1;
        const int minuscule = i >= 'A' && i <= 'Z' ? i + 32 : i;
        const char octet = static_cast<char>(i);
        EXPECT_EQ(tq::EstChiffreAscii(octet), chiffre);
        EXPECT_EQ(tq::EstLettreAscii(octet), lettre);
        EXPECT_EQ(tq::ValeurHexa(octet), hexa);
        EXPECT_EQ(static_cast<unsigned char>(tq::MinusculeAscii(octet)), minuscule);
        EXPECT_EQ(tq::ValeurHexa(static_cast<unsigned char>(i)), hexa);
        EXPECT_EQ(tq::ValeurHexa(static_cast<char16_t>(i)), hexa);
        EXPECT_EQ(tq::EstLettreAscii(static_cast<char16_t>(i)), lettre);
    }
    // Units whose low byte is an ASCII digit or letter are none.
    for (char16_t c : { u'\u0130', u'\u0141', u'\uFF10', u'\uFF21', u'\u0661' }) {
        EXPECT_EQ(tq::ValeurHexa(c), -1);
        EXPECT_FALSE(tq::EstChiffreAscii(c));
        EXPECT_FALSE(tq::EstLettreAscii(c));
        EXPECT_EQ(tq::MinusculeAscii(c), c);
    }
}

TEST(Caracteres, EgauxSansCasse)
{
    struct Cas {
        const char* nom;
        std::string_view a;
        std::string_view b;
        bool egaux;
    };
    const Cas cas[] = {
        { "identiques", "Content-Type", "Content-Type", true },
        { "casse_differente", "content-TYPE", "Content-Type", true },
        { "vides", "", "", true },
        { "longueurs_differentes", "chunked", "chunke", false },
        { "lettre_differente", "keep-alive", "keep-alivf", false },
        // Only ASCII letters fold: "[" and "{" are 0x20 apart like "A" and "a".
        { "pas_de_pliage_hors_lettres", "[", "{", false },
        { "octets_hauts_sans_pliage", "\xC9", "\xE9", false },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::EgauxSansCasse(c.a, c.b), c.egaux);
    }
}

TEST(Caracteres, SansBlancs)
{
    struct Cas {
        const char* nom;
        std::string_view texte;
        std::string_view attendu;
    };
    const Cas cas[] = {
        { "rien_a_enlever", "a b", "a b" },
        { "espaces_et_tabulations", " \t a\tb \t", "a\tb" },
        { "que_des_blancs", " \t ", "" },
        { "vide", "", "" },
        // Line ends are not blanks here: a header line has lost its own already.
        { "fin_de_ligne_gardee", "\r a \n", "\r a \n" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::SansBlancs(c.texte), c.attendu);
    }
}

} // namespace
