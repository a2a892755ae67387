#include "server/windows_1252.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>

namespace {

// ICU's table for the code page, byte by byte.
char16_t SelonIcu(unsigned char octet)
{
    UErrorCode statut = U_ZERO_ERROR;
    UConverter* convertisseur = ucnv_open("windows-1252", &statut);
    EXPECT_TRUE(U_SUCCESS(statut));
    const char source = static_cast<char>(octet);
    UChar cible[4] = {};
    const int32_t longueur = ucnv_toUChars(convertisseur, cible, 4, &source, 1, &statut);
    ucnv_close(convertisseur);
    EXPECT_TRUE(U_SUCCESS(statut));
    EXPECT_EQ(longueur, 1);
    return cible[0];
}

bool NonAttribue(unsigned char octet)
{
    return octet == 0x81 || octet == 0x8D || octet == 0x8F || octet == 0x90 || octet == 0x9D;
}

} // namespace

TEST(Windows1252, ChaqueOctetAttribueSelonLaTableDeReference)
{
    for (int i = 0; i < 256; ++i) {
        const auto octet = static_cast<unsigned char>(i);
        if (NonAttribue(octet))
            continue;
        SCOPED_TRACE(i);
        const std::u16string texte = tq::DepuisWindows1252(std::string(1, static_cast<char>(octet)));
        ASSERT_EQ(texte.size(), 1u);
        EXPECT_EQ(texte[0], SelonIcu(octet));
    }
}

TEST(Windows1252, CaracteresNommes)
{
    struct Cas {
        const char* nom;
        std::string_view octets;
        std::u16string_view texte;
    };
    const Cas cas[] = {
        { "e aigu", "\xE9", u"é" },
        { "e grave", "\xE8", u"è" },
        { "a grave", "\xE0", u"à" },
        { "c cedille", "\xE7", u"ç" },
        { "euro", "\x80", u"€" },
        { "oe", "\x9C", u"œ" },
        { "OE", "\x8C", u"Œ" },
        { "Y trema", "\x9F", u"Ÿ" },
        { "apostrophe typographique", "\x92", u"\u2019" },
        { "non attribue 81", "\x81", u"\u0081" },
        { "non attribue 9D", "\x9D", u"\u009D" },
        { "octet nul garde", std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3) },
        { "date accentuee", "01/03/2019\xE9", u"01/03/2019é" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::DepuisWindows1252(c.octets), c.texte);
    }
}
