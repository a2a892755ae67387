#include "platform/reglages_regionaux.h"

#include <gtest/gtest.h>

using namespace std::chrono;

TEST(ReglagesRegionaux, MotifsNumeriquesOuNon)
{
    struct Cas {
        const char* nom;
        std::u16string_view motif;
        bool numerique;
    };
    const Cas cas[] = {
        { "francais", u"dd/MM/yyyy", true },
        { "americain", u"M/d/yy", true },
        { "iso", u"yyyy-MM-dd", true },
        { "allemand", u"dd.MM.yy", true },
        { "mois en lettres (locale C)", u"d MMM yyyy", false },
        { "jour de la semaine", u"ddd dd/MM/yyyy", false },
        { "annee sur trois chiffres", u"dd/MM/yyy", false },
        { "sans annee", u"dd/MM", false },
        { "vide", u"", false },
        { "texte entre apostrophes", u"dd/MM/yyyy 'h'", false },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::EstFormatDateNumerique(c.motif), c.numerique);
    }
}

// What the date text is made of, for the patterns of the desktop's locales:
// the fields in order with their widths, the separator, and 1 March 2019
// written with them.
TEST(ReglagesRegionaux, MotifsDeLaLocale)
{
    struct Cas {
        const char* nom;
        std::u16string_view motif;
        std::u16string_view format;
        char16_t separateur;
        std::u16string_view texte;
    };
    const Cas cas[] = {
        { "francais", u"dd/MM/yyyy", u"dd/MM/yyyy", u'/', u"01/03/2019" },
        { "americain", u"M/d/yy", u"M/d/yy", u'/', u"3/1/19" },
        { "annee d'abord", u"yyyy/MM/dd", u"yyyy/MM/dd", u'/', u"2019/03/01" },
        { "texte entre apostrophes", u"d.MM.yy 'г'.", u"d.MM.yy", u'.', u"1.03.19" },
        { "mois abrege en lettres", u"dd MMM yyyy", u"dd MM yyyy", u' ', u"01 03 2019" },
        { "mois en lettres", u"d MMMM yyyy", u"d MM yyyy", u' ', u"1 03 2019" },
        { "nom du jour", u"dddd d/M/yyyy", u"d/M/yyyy", u'/', u"1/3/2019" },
        { "espaces apres les points", u"yy. M. d.", u"yy.M.d", u'.', u"19.3.1" },
        { "marques de sens", u"d\u200F/M\u200F/yyyy", u"d/M/yyyy", u'/', u"1/3/2019" },
        { "texte cite seul entre les champs", u"yyyy'年'M'月'd'日'", u"yyyy/M/d", u'/', u"2019/3/1" },
        { "apostrophe doublee", u"dd''MM''yyyy", u"dd/MM/yyyy", u'/', u"01/03/2019" },
        { "champs colles", u"yyyyMMdd", u"yyyyMMdd", u'/', u"20190301" },
        { "annee sur trois lettres", u"dd-MM-yyy", u"dd-MM-yy", u'-', u"01-03-19" },
        { "vide", u"", u"M/d/yy", u'/', u"3/1/19" },
        { "sans annee", u"dd/MM", u"M/d/yy", u'/', u"3/1/19" },
        { "y seul", u"d/M/y", u"M/d/yy", u'/', u"3/1/19" },
        { "jour deux fois", u"d/d/yyyy", u"M/d/yy", u'/', u"3/1/19" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const tq::TReglagesRegionaux r = tq::ReglagesDepuisLocale(c.motif, u'h', u',');
        EXPECT_EQ(r.formatDateCourt, c.format);
        EXPECT_EQ(r.separateurDate, c.separateur);
        EXPECT_EQ(r.separateurHeure, u'h');
        EXPECT_EQ(r.separateurDecimal, u',');
        EXPECT_EQ(tq::TexteDate(year { 2019 } / March / day { 1 }, r), c.texte);
    }
    EXPECT_EQ(tq::TexteDate(tq::JourZero, tq::ReglagesDepuisLocale(u"dd.MM.yyyy", u':', u',')), u"30.12.1899");
}

TEST(ReglagesRegionaux, Horodatage)
{
    tq::TReglagesRegionaux r;
    EXPECT_EQ(tq::TexteHorodatage(hh_mm_ss<milliseconds> { 9h + 5min + 3s + 7ms }, r), u"09:05:03.007");
    r.separateurHeure = u'.';
    EXPECT_EQ(tq::TexteHorodatage(hh_mm_ss<milliseconds> { 23h + 59min + 59s + 999ms }, r), u"23.59.59.999");
    EXPECT_EQ(tq::TexteHorodatage(hh_mm_ss<milliseconds> { 0ms }, r), u"00.00.00.000");
}
