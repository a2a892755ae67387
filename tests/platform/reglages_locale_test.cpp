#include "platform/reglages_locale.h"

#include <gtest/gtest.h>

#include "platform/texte_utf.h"

// The settings of the dates' locale and of the numbers' locale, as tq_export
// finds them without Qt.
TEST(ReglagesDesLocales, DatesHeuresEtNombres)
{
    struct Cas {
        const char* dates;
        const char* nombres;
        tq::TReglagesRegionaux attendus;
    };
    const Cas cas[] = {
        { "fr_FR.UTF-8", "fr_FR.UTF-8", { u"dd/MM/yyyy", u'/', u':', u',' } },
        { "en_US.UTF-8", "de_DE.UTF-8", { u"M/d/yy", u'/', u':', u',' } },
        { "de_DE.UTF-8", "C", { u"dd.MM.yy", u'.', u':', u'.' } },
        // "H.mm", and "HH 'h' mm" whose quoted letter is no separator.
        { "fi_FI.UTF-8", "fi_FI.UTF-8", { u"d.M.yyyy", u'.', u'.', u',' } },
        { "fr_CA.UTF-8", "fr_CA.UTF-8", { u"yyyy-MM-dd", u'-', u':', u',' } },
        // The right-to-left marks about the "/" are literal text, left out.
        { "ar_EG.UTF-8", "ar_EG.UTF-8", { u"d/M/yyyy", u'/', u':', u'\u066B' } },
        // The toolkit's C locale: "d MMM yyyy", the month's name taken as a
        // two-digit month.
        { "C.UTF-8", "POSIX", { u"d MM yyyy", u' ', u':', u'.' } },
        { "xx_YY", "xx_YY", { u"d MM yyyy", u' ', u':', u'.' } },
        // A language whose data the toolkit has and ICU has not.
        { "nds_DE.UTF-8", "nds_DE.UTF-8", { u"d.MM.yy", u'.', u'.', u',' } },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.dates) + " / " + c.nombres);
        const tq::TReglagesRegionaux r = tq::ReglagesDesLocales(c.dates, c.nombres);
        EXPECT_EQ(tq::VersUtf8(r.formatDateCourt), tq::VersUtf8(c.attendus.formatDateCourt));
        EXPECT_EQ(r.separateurDate, c.attendus.separateurDate);
        EXPECT_EQ(r.separateurHeure, c.attendus.separateurHeure);
        EXPECT_EQ(r.separateurDecimal, c.attendus.separateurDecimal);
    }
}
