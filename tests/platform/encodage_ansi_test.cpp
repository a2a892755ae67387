#include "platform/encodage_ansi.h"
#include "platform/texte_utf.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifndef _WIN32
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#endif

namespace {

std::string Hexa(std::string_view octets)
{
    std::string texte;
    char tampon[4];
    for (unsigned char o : octets) {
        std::snprintf(tampon, sizeof tampon, "%02X ", o);
        texte += tampon;
    }
    return texte;
}

std::u16string Caractere(char16_t c)
{
    return std::u16string(1, c);
}

// Windows-1252 as its published chart gives it: bytes 0x80 to 0x9F that hold
// a character other than the C1 control of the same number.
struct TOctetSpecial {
    unsigned char octet;
    char16_t caractere;
};
constexpr TOctetSpecial Speciaux1252[27] = {
    { 0x80, u'€' }, { 0x82, u'‚' }, { 0x83, u'ƒ' }, { 0x84, u'„' }, { 0x85, u'…' }, { 0x86, u'†' }, { 0x87, u'‡' },
    { 0x88, u'ˆ' }, { 0x89, u'‰' }, { 0x8A, u'Š' }, { 0x8B, u'‹' }, { 0x8C, u'Œ' }, { 0x8E, u'Ž' }, { 0x91, u'‘' },
    { 0x92, u'’' }, { 0x93, u'“' }, { 0x94, u'”' }, { 0x95, u'•' }, { 0x96, u'–' }, { 0x97, u'—' }, { 0x98, u'˜' },
    { 0x99, u'™' }, { 0x9A, u'š' }, { 0x9B, u'›' }, { 0x9C, u'œ' }, { 0x9E, u'ž' }, { 0x9F, u'Ÿ' },
};

// The five bytes the chart leaves empty.
bool OctetNonDefini(unsigned c)
{
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

TEST(EncodageAnsi, PremiersDeuxCentCinquanteSixCaracteres)
{
    for (unsigned c = 0; c < 0x100; ++c) {
        SCOPED_TRACE(c);
        std::string attendu;
        if (c < 0x80 || c >= 0xA0 || OctetNonDefini(c))
            attendu = std::string(1, static_cast<char>(c));
        else
            attendu = "?"; // a C1 control whose byte holds another character
        EXPECT_EQ(Hexa(tq::VersAnsi(Caractere(static_cast<char16_t>(c)))), Hexa(attendu));
    }
}

TEST(EncodageAnsi, VingtSeptCaracteresSpeciaux)
{
    for (const TOctetSpecial& s : Speciaux1252) {
        SCOPED_TRACE(s.octet);
        EXPECT_EQ(Hexa(tq::VersAnsi(Caractere(s.caractere))), Hexa(std::string(1, static_cast<char>(s.octet))));
    }
}

bool EstNatif1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c < 0x100) || OctetNonDefini(c))
        return true;
    for (const TOctetSpecial& s : Speciaux1252)
        if (s.caractere == c)
            return true;
    return false;
}

char16_t Decoder1252(unsigned char octet)
{
    for (const TOctetSpecial& s : Speciaux1252)
        if (s.octet == octet)
            return s.caractere;
    return octet;
}

// Over the whole first plane: exactly one byte per character, a character of
// the code page gives its own byte and no other character takes that byte
// unless it is a best fit; nothing outside ASCII becomes '"' or '\'.
TEST(EncodageAnsi, ToutLePremierPlan)
{
    int echecs = 0;
    for (unsigned c = 0; c < 0x10000 && echecs < 10; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const char16_t unite = static_cast<char16_t>(c);
        const std::string octets = tq::VersAnsi(Caractere(unite));
        const std::string ascii = tq::ReductionAscii(Caractere(unite));
        bool bon = octets.size() == 1 && ascii.size() == 1;
        if (bon && EstNatif1252(unite))
            bon = Decoder1252(static_cast<unsigned char>(octets[0])) == unite;
        if (c >= 0x80)
            bon = bon && octets.find_first_of("\"\\") == std::string::npos
               && ascii.find_first_of("\"\\") == std::string::npos;
        for (unsigned char o : ascii)
            bon = bon && o < 0x80;
        if (!bon) {
            ++echecs;
            ADD_FAILURE() << "U+" << std::hex << c << " gives " << Hexa(octets) << "/ " << Hexa(ascii);
        }
    }
}

struct TCas {
    const char* nom;
    std::u16string_view texte;
    std::string_view octets;
};

TEST(EncodageAnsi, CaracteresNommes)
{
#ifdef _WIN32
    GTEST_SKIP() << "a fact of the Linux best-fit table (built from ICU); Windows converts with its own best fit";
#endif
    const TCas cas[] = {
        { "e aigu", u"é", "\xE9" },
        { "e grave", u"è", "\xE8" },
        { "a grave", u"à", "\xE0" },
        { "c cedille", u"ç", "\xE7" },
        { "euro", u"€", "\x80" },
        { "oe", u"œ", "\x9C" },
        { "OE", u"Œ", "\x8C" },
        { "guillemets anglais", u"“x”", "\x93x\x94" },
        { "apostrophes typographiques", u"‘x’", "\x91x\x92" },
        { "guillemets francais", u"«\u00A0x\u00A0»", "\xAB\xA0x\xA0\xBB" },
        { "points de suspension", u"…", "\x85" },
        { "tirets", u"–—", "\x96\x97" },
        { "a macron", u"ā", "a" },
        { "o double aigu", u"Ő", "O" },
        { "s virgule souscrite", u"ș", "s" },
        { "L barre", u"Ł", "L" },
        { "a rond aigu garde le rond", u"ǻ", "\xE5" },
        { "e circonflexe point souscrit", u"ệ", "\xEA" },
        { "trait d union", u"\u2010", "-" },
        { "signe moins", u"\u2212", "-" },
        { "double prime", u"\u2033", "\x94" },
        { "guillemet pleine chasse", u"\uFF02", "\x94" },
        { "barre oblique inverse pleine chasse", u"\uFF3C", "?" },
        { "espace fine insecable", u"\u202F", "\xA0" },
        { "espace fine", u"\u2009", " " },
        { "A pleine chasse", u"Ａ", "A" },
        { "chiffre entoure", u"①", "1" },
        { "different de", u"≠", "?" },
        { "ideogramme", u"中", "?" },
        { "alpha", u"α", "?" },
        { "cyrillique", u"Ж", "?" },
        { "paire de substitution", u"a\U0001F600b", "a?b" },
        { "substitut haut seul",
          u"a\xD83D"
          u"b",
          "a?b" },
        { "substitut bas seul",
          u"a\xDE00"
          u"b",
          "a?b" },
        { "substitut haut en fin", u"a\xD83D", "a?" },
        { "deux substituts hauts", u"\xD83D\xD83D\xDE00", "??" },
        { "marque d ordre des octets", u"\uFEFFa", "?a" },
        { "espace sans chasse", u"a\u200Bb", "a?b" },
        { "liants et marques de sens", u"a\u200C\u200D\u200E\u200F\u2060b", "a?????b" },
        { "trait d union conditionnel", u"Saint\u00ADEtienne",
          "Saint\xAD"
          "Etienne" },
        { "controle C1", u"\u0080", "?" },
        { "texte vide", u"", "" },
        { "ASCII", u"{\"a\":\"b\\\\c\"}\r\n", "{\"a\":\"b\\\\c\"}\r\n" },
        { "nul", std::u16string_view(u"a\0b", 3), std::string_view("a\0b", 3) },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Hexa(tq::VersAnsi(c.texte)), Hexa(c.octets));
    }
}

TEST(EncodageAnsi, AjouteALaSuite)
{
    std::string sortie = "ab";
    tq::AjouterEnAnsi(sortie, u"\uFEFFé\U0001F600€");
    EXPECT_EQ(Hexa(sortie), Hexa("ab?\xE9?\x80"));
}

TEST(ReductionAscii, CaracteresNommes)
{
#ifdef _WIN32
    GTEST_SKIP() << "a fact of the Linux best-fit table (built from ICU); Windows converts with its own best fit";
#endif
    const TCas cas[] = {
        { "e aigu", u"é", "e" },
        { "E grave", u"È", "E" },
        { "A grave", u"À", "A" },
        { "c cedille", u"ç", "c" },
        { "C cedille", u"Ç", "C" },
        { "Chateau", u"Château", "Chateau" },
        { "oe", u"Cœur", "Cour" },
        { "AE", u"Æ", "A" },
        { "eszett", u"Straße", "Strase" },
        { "euro", u"12 €", "12 E" },
        { "points de suspension", u"a…b", "a.b" },
        { "guillemets anglais", u"“x”", "'x'" },
        { "guillemets bas", u"„x“", "'x'" },
        { "guillemets francais", u"« x »", "' x '" },
        { "apostrophe typographique", u"l’eau", "l'eau" },
        { "double prime", u"\u2033", "'" },
        { "guillemet pleine chasse", u"\uFF02", "'" },
        { "espace insecable", u"a\u00A0b", "a b" },
        { "espace fine insecable", u"a\u202Fb", "a b" },
        { "tirets", u"–—\u2010", "---" },
        { "trait d union conditionnel", u"Saint\u00ADEtienne", "Saint-Etienne" },
        { "espace sans chasse", u"a\u200Bb", "a?b" },
        { "liants et marques de sens", u"a\u200C\u200D\u200E\u200F\u2060b", "a?????b" },
        { "numero", u"N°", "No" },
        { "L barre", u"Łódź", "Lodz" },
        { "o barre", u"Ø", "O" },
        { "a rond aigu", u"ǻ", "a" },
        { "e circonflexe point souscrit", u"ệ", "e" },
        { "A pleine chasse", u"Ａ", "A" },
        { "ideogramme", u"中", "?" },
        { "paire de substitution", u"\U0001F600", "?" },
        { "substitut seul", u"\xDC00", "?" },
        { "marque d ordre des octets", u"\uFEFF{}", "?{}" },
        { "controle C1", u"\u0081", "?" },
        { "double quote et barre inverse ASCII", u"\"\\", "\"\\" },
        { "controle ASCII", u"\x01\x7F", "\x01\x7F" },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Hexa(tq::ReductionAscii(c.texte)), Hexa(c.octets));
    }
}

// Every Latin letter of the first blocks that Unicode decomposes into an ASCII
// letter and combining marks is reduced to that letter, checked against the
// decomposition itself.
TEST(ReductionAscii, LettresLatinesDecomposees)
{
#ifdef _WIN32
    GTEST_SKIP() << "the Unicode decompositions of the conversion library (ICU) behind the Linux best-fit table";
#else
    UErrorCode erreur = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&erreur);
    ASSERT_TRUE(U_SUCCESS(erreur));
    int verifiees = 0;
    for (UChar32 c = 0xC0; c < 0x250; ++c) {
        UChar tampon[8];
        erreur = U_ZERO_ERROR;
        const int32_t n = unorm2_getDecomposition(nfd, c, tampon, 8, &erreur);
        if (U_FAILURE(erreur) || n < 2 || tampon[0] >= 0x80 || !u_isalpha(tampon[0]))
            continue;
        SCOPED_TRACE(c);
        ++verifiees;
        EXPECT_EQ(tq::ReductionAscii(Caractere(static_cast<char16_t>(c))),
                  std::string(1, static_cast<char>(tampon[0])));
    }
    EXPECT_GE(verifiees, 240);
#endif
}

// One byte per character, an invisible one included, in a long text: every
// byte after them must still land in its place.
TEST(ReductionAscii, TexteLongUnOctetParCaractere)
{
    std::u16string texte;
    std::string attendu;
    for (int i = 0; i < 5000; ++i) {
        texte += u"é…\uFEFFx";
        attendu += "e.?x";
    }
    texte += u"œ";
    attendu += "o";
    EXPECT_EQ(tq::ReductionAscii(texte), attendu);
}

} // namespace

namespace {

// A piece large enough to take the reserved-buffer road, with an invisible
// character in the middle and a character of two code units at the end.
TEST(ReductionAscii, GrandTexte)
{
    constexpr std::size_t Taille = 9u << 20;
    std::u16string texte(Taille, u'a');
    texte[0] = u'œ';
    texte[Taille / 2] = u'\uFEFF';
    texte[Taille - 2] = u'\xD83D';
    texte[Taille - 1] = u'\xDE00';
    const std::string ascii = tq::ReductionAscii(texte);
    // The mark gives its "?" and the pair one "?" for its two code units.
    ASSERT_EQ(ascii.size(), Taille - 1);
    EXPECT_EQ(ascii.substr(0, 4), "oaaa");
    EXPECT_EQ(ascii.substr(ascii.size() - 3), "aa?");
    EXPECT_EQ(ascii.find_first_not_of('a', 1), Taille / 2);
    EXPECT_EQ(ascii.find_first_not_of('a', Taille / 2 + 1), ascii.size() - 1);

    std::string ansi = "debut";
    tq::AjouterEnAnsi(ansi, texte);
    ASSERT_EQ(ansi.size(), 5 + Taille - 1);
    EXPECT_EQ(ansi[5 + Taille / 2], '?');
    EXPECT_EQ(ansi.substr(0, 7), "debut\x9C"
                                 "a");
    EXPECT_EQ(ansi.back(), '?');
}

} // namespace
