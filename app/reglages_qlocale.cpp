#include "app/reglages_qlocale.h"

#include <QString>

namespace tq {

namespace {

// The character written between the hour and the minutes. Quoted text
// ("HH 'h' mm") and blanks are not separators; without one the time keeps ":".
char16_t SeparateurHeure(const QString& motifHeure)
{
    bool dansGuillemets = false;
    bool heureVue = false;
    for (const QChar c : motifHeure) {
        if (c == u'\'') {
            dansGuillemets = !dansGuillemets;
            continue;
        }
        if (dansGuillemets)
            continue;
        if (c == u'h' || c == u'H') {
            heureVue = true;
            continue;
        }
        if (!heureVue)
            continue;
        if (c.isLetter())
            break;
        if (!c.isSpace())
            return c.unicode();
    }
    return u':';
}

} // namespace

TReglagesRegionaux ReglagesDepuisQLocale(const QLocale& locale)
{
    const QString decimal = locale.decimalPoint();
    return ReglagesDepuisLocale(locale.dateFormat(QLocale::ShortFormat).toStdU16String(),
                                SeparateurHeure(locale.timeFormat(QLocale::ShortFormat)),
                                decimal.isEmpty() ? u'.' : decimal.front().unicode());
}

} // namespace tq
