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

TEST(ReglagesRegionaux, RepliSurMoisJourAnneeCourte)
{
    const tq::TReglagesRegionaux r = tq::ReglagesDepuisLocale(u"d MMM yyyy", u':', u'.');
    EXPECT_EQ(r.formatDateCourt, u"M/d/yy");
    EXPECT_EQ(r.separateurDate, u'/');
    EXPECT_EQ(tq::TexteDate(year { 2019 } / March / day { 1 }, r), u"3/1/19");

    const tq::TReglagesRegionaux fr = tq::ReglagesDepuisLocale(u"dd.MM.yyyy", u'h', u',');
    EXPECT_EQ(fr.separateurDate, u'.');
    EXPECT_EQ(fr.separateurHeure, u'h');
    EXPECT_EQ(fr.separateurDecimal, u',');
    EXPECT_EQ(tq::TexteDate(tq::JourZero, fr), u"30.12.1899");
}

TEST(ReglagesRegionaux, Horodatage)
{
    tq::TReglagesRegionaux r;
    EXPECT_EQ(tq::TexteHorodatage(hh_mm_ss<milliseconds> { 9h + 5min + 3s + 7ms }, r), u"09:05:03.007");
    r.separateurHeure = u'.';
    EXPECT_EQ(tq::TexteHorodatage(hh_mm_ss<milliseconds> { 23h + 59min + 59s + 999ms }, r), u"23.59.59.999");
    EXPECT_EQ(tq::TexteHorodatage(hh_mm_ss<milliseconds> { 0ms }, r), u"00.00.00.000");
}
