#include "results/lecture_entier.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct TCas {
    const char* nom;
    std::u16string_view texte;
    std::int32_t valeur;
};

TEST(EntierOuZero, LecturesEtRefus)
{
    const TCas cas[] = {
        { "decimal", u"42", 42 },
        { "espaces devant", u"  42", 42 },
        { "plus", u"+42", 42 },
        { "moins", u"-42", -42 },
        { "zeros devant", u"0042", 42 },
        { "zero", u"0", 0 },
        { "moins zero", u"-0", 0 },
        { "maximum", u"2147483647", 2147483647 },
        { "minimum", u"-2147483648", INT32_MIN },
        { "au-dela du maximum", u"2147483648", 0 },
        { "au-dela du minimum", u"-2147483649", 0 },
        { "tres long", u"99999999999999999999999", 0 },
        { "zeros devant au maximum", u"00000000002147483647", 2147483647 },
        { "hexa 0x", u"0x2A", 42 },
        { "hexa 0X", u"0X2a", 42 },
        { "hexa dollar minuscules", u"$2a", 42 },
        { "hexa x", u"x2A", 42 },
        { "hexa X", u"X2A", 42 },
        { "hexa tout a un", u"$FFFFFFFF", -1 },
        { "hexa moins", u"-$2A", -42 },
        { "hexa plus", u"+0x10", 16 },
        { "hexa moins du plus petit", u"-$80000000", INT32_MIN },
        { "hexa signe bit", u"$80000000", INT32_MIN },
        { "hexa zeros devant", u"$000000000000002A", 42 },
        { "hexa trop grand", u"$100000000", 0 },
        { "hexa sans chiffres", u"$", 0 },
        { "0x sans chiffres", u"0x", 0 },
        { "hexa chiffre invalide", u"$2G", 0 },
        { "espace apres", u"42 ", 0 },
        { "virgule", u"4,5", 0 },
        { "point", u"4.5", 0 },
        { "exposant", u"1E20", 0 },
        { "vide", u"", 0 },
        { "espaces seuls", u"   ", 0 },
        { "signe seul", u"-", 0 },
        { "espaces et signe", u"  +", 0 },
        { "deux signes", u"--1", 0 },
        { "tabulation devant", u"\t42", 0 },
        { "espace insecable devant", u"\u00A042", 0 },
        { "espace entre signe et chiffres", u"- 42", 0 },
        { "chiffres pleine chasse", u"\uFF14\uFF12", 0 },
        { "texte", u"abc", 0 },
        { "vrai", u"true", 0 },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::EntierOuZero(c.texte), c.valeur);
    }
}

} // namespace
