#include "platform/motif_date_locale.h"

#include <gtest/gtest.h>

#include "platform/texte_utf.h"

TEST(MotifDateCourtLocale, PatternsDesLocales)
{
    struct Cas {
        const char* nom;
        std::u16string_view motif;
    };
    const Cas cas[] = {
        { "fr_FR.UTF-8", u"dd/MM/yyyy" },
        { "en_US.UTF-8", u"M/d/yy" },
        { "en_GB", u"dd/MM/yyyy" },
        { "de_DE.UTF-8@euro", u"dd.MM.yy" },
        { "ja_JP.UTF-8", u"yyyy/MM/dd" },
        { "bg_BG.UTF-8", u"d.MM.yy\u202F'г'." },
        { "C", u"d MMM yyyy" },
        { "C.UTF-8", u"d MMM yyyy" },
        { "POSIX", u"d MMM yyyy" },
        { "", u"d MMM yyyy" },
        // Read as the window's toolkit reads a name: "-" between the tags, an
        // old language code, a language without data (not the process's own
        // locale, where ICU falls back), data that the toolkit has otherwise.
        { "de-AT", u"dd.MM.yy" },
        { "iw_IL.UTF-8", u"d.M.yyyy" },
        { "xx_YY.UTF-8", u"d MMM yyyy" },
        { "francais", u"d MMM yyyy" },
        { "en_CA.UTF-8", u"yyyy-MM-dd" },
        { "oc_FR", u"yyyy-MM-dd" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::VersUtf8(tq::MotifDateCourtLocale(c.nom)), tq::VersUtf8(c.motif));
    }
}
