#include "platform/reglages_locale.h"

#include <string>

#include "platform/bibliotheque_icu.h"
#include "platform/locale_icu.h"
#include "platform/motif_date_locale.h"

namespace tq {

namespace {

// A blank as the toolkit counts them: Unicode's space separators, the
// controls from tab to carriage return, NEL and the no-break space.
bool EstBlanc(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u0085' || c == u'\u00A0'
        || BibliothequeIcu()->u_isJavaSpaceChar(c);
}

// The character written between the hour and the minutes, as the window
// finds it in the toolkit's short time pattern: the first one after the hour
// that is neither a letter nor a blank, quoted text left out; ":" when a
// letter comes first. ICU's "K" and "k" are hours too.
char16_t SeparateurHeure(std::u16string_view motif)
{
    bool dansGuillemets = false;
    bool heureVue = false;
    for (const char16_t c : motif) {
        if (c == u'\'') {
            dansGuillemets = !dansGuillemets;
            continue;
        }
        if (dansGuillemets)
            continue;
        if (c == u'h' || c == u'H' || c == u'k' || c == u'K') {
            heureVue = true;
            continue;
        }
        if (!heureVue)
            continue;
        if (BibliothequeIcu()->u_isalpha(c))
            break;
        if (!EstBlanc(c))
            return c;
    }
    return u':';
}

// The C locale writes "HH:mm:ss" and "1.5".
char16_t SeparateurHeureLocale(const std::string& locale)
{
    if (locale.empty())
        return u':';
    if (const TDonneesDuBureau* propres = DonneesPropresAuBureau(locale))
        return propres->separateurHeure;
    const std::string donnees = LocaleDesDonnees(locale);
    if (donnees.empty())
        return u':';
    // The short time pattern is at index 3 of the Gregorian patterns.
    return SeparateurHeure(TexteDesDonnees(donnees, { "calendar", "gregorian", "DateTimePatterns" }, 3));
}

// The decimal separator of the locale's own digits (the Arabic ones in
// ar_EG), else of the Latin ones.
char16_t SeparateurDecimalLocale(const std::string& locale)
{
    if (locale.empty())
        return u'.';
    if (const TDonneesDuBureau* propres = DonneesPropresAuBureau(locale))
        return propres->separateurDecimal;
    const std::string donnees = LocaleDesDonnees(locale);
    if (donnees.empty())
        return u'.';
    const std::u16string chiffres = TexteDesDonnees(donnees, { "NumberElements", "default" });
    const std::string systeme = chiffres.empty() ? "latn" : std::string(chiffres.begin(), chiffres.end());
    std::u16string decimal = TexteDesDonnees(donnees, { "NumberElements", systeme.c_str(), "symbols", "decimal" });
    if (decimal.empty())
        decimal = TexteDesDonnees(donnees, { "NumberElements", "latn", "symbols", "decimal" });
    return decimal.empty() ? u'.' : decimal.front();
}

} // namespace

TReglagesRegionaux ReglagesDesLocales(std::string_view localeDates, std::string_view localeNombres)
{
    return ReglagesDepuisLocale(MotifDateCourtLocale(localeDates), SeparateurHeureLocale(LocaleIcu(localeDates)),
                                SeparateurDecimalLocale(LocaleIcu(localeNombres)));
}

} // namespace tq
