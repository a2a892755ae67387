#include "app/export/reglages_locale_windows.h"
#include "app/export/reglages_systeme.h"

#include <gtest/gtest.h>

#include <cctype>

namespace tq {
namespace {

TEST(ReglagesSystemeWindows, DonneesDeLaLocale)
{
    struct Cas {
        const char16_t* locale;
        TReglagesRegionaux attendu;
    };
    const Cas cas[] = {
        { u"fr-FR",
          { .formatDateCourt = u"dd/MM/yyyy",
            .separateurDate = u'/',
            .separateurHeure = u':',
            .separateurDecimal = u',' } },
        { u"en-US",
          { .formatDateCourt = u"M/d/yyyy",
            .separateurDate = u'/',
            .separateurHeure = u':',
            .separateurDecimal = u'.' } },
        { u"en-GB",
          { .formatDateCourt = u"dd/MM/yyyy",
            .separateurDate = u'/',
            .separateurHeure = u':',
            .separateurDecimal = u'.' } },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.locale, c.locale + 5));
        const TReglagesRegionaux lu = ReglagesDeLocale(c.locale);
        EXPECT_TRUE(lu.formatDateCourt == c.attendu.formatDateCourt);
        EXPECT_EQ(lu.separateurDate, c.attendu.separateurDate);
        EXPECT_EQ(lu.separateurHeure, c.attendu.separateurHeure);
        EXPECT_EQ(lu.separateurDecimal, c.attendu.separateurDecimal);
    }
}

// The tests run in French (LANG=fr_FR.UTF-8 under Wine): the user's locale
// is then read as fr-FR.
TEST(ReglagesSystemeWindows, LocaleDeLUtilisateur)
{
    EXPECT_TRUE(ReglagesSysteme() == ReglagesDeLocale(u"fr-FR"));
}

TEST(ReglagesSystemeWindows, HorodatageDuJournal)
{
    const std::string t = HorodatageLocal();
    ASSERT_EQ(t.size(), 23u) << t;
    const std::string motif = "dddd-dd-dd dd:dd:dd.ddd";
    for (std::size_t i = 0; i < motif.size(); ++i) {
        SCOPED_TRACE(i);
        if (motif[i] == 'd')
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(t[i]))) << t;
        else
            EXPECT_EQ(t[i], motif[i]) << t;
    }
}

} // namespace
} // namespace tq
