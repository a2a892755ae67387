#include "platform/reglages_locale.h"

#include <memory>
#include <string>

#include <unicode/uchar.h>
#include <unicode/udat.h>
#include <unicode/unum.h>

#include "platform/locale_icu.h"
#include "platform/motif_date_locale.h"

namespace tq {

namespace {

struct TFermerFormatDate {
    void operator()(UDateFormat* format) const { udat_close(format); }
};

struct TFermerFormatNombre {
    void operator()(UNumberFormat* format) const { unum_close(format); }
};

// A blank as the toolkit counts them: Unicode's space separators, the
// controls from tab to carriage return, NEL and the no-break space.
bool EstBlanc(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u0085' || c == u'\u00A0' || u_isJavaSpaceChar(c);
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
        if (u_isalpha(c))
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
    UErrorCode erreur = U_ZERO_ERROR;
    const std::unique_ptr<UDateFormat, TFermerFormatDate> format { udat_open(UDAT_SHORT, UDAT_NONE, locale.c_str(),
                                                                             nullptr, 0, nullptr, 0, &erreur) };
    if (U_FAILURE(erreur) || !DonneesDeLaLangue(locale, udat_getLocaleByType(format.get(), ULOC_VALID_LOCALE, &erreur)))
        return u':';
    UChar tampon[64];
    const int32_t longueur = udat_toPattern(format.get(), false, tampon, 64, &erreur);
    if (U_FAILURE(erreur) || longueur > 64)
        return u':';
    return SeparateurHeure(std::u16string_view(tampon, static_cast<std::size_t>(longueur)));
}

char16_t SeparateurDecimalLocale(const std::string& locale)
{
    if (locale.empty())
        return u'.';
    if (const TDonneesDuBureau* propres = DonneesPropresAuBureau(locale))
        return propres->separateurDecimal;
    UErrorCode erreur = U_ZERO_ERROR;
    const std::unique_ptr<UNumberFormat, TFermerFormatNombre> format { unum_open(UNUM_DECIMAL, nullptr, 0,
                                                                                 locale.c_str(), nullptr, &erreur) };
    if (U_FAILURE(erreur) || !DonneesDeLaLangue(locale, unum_getLocaleByType(format.get(), ULOC_VALID_LOCALE, &erreur)))
        return u'.';
    UChar tampon[8];
    const int32_t longueur = unum_getSymbol(format.get(), UNUM_DECIMAL_SEPARATOR_SYMBOL, tampon, 8, &erreur);
    return U_SUCCESS(erreur) && longueur >= 1 ? tampon[0] : u'.';
}

} // namespace

TReglagesRegionaux ReglagesDesLocales(std::string_view localeDates, std::string_view localeNombres)
{
    return ReglagesDepuisLocale(MotifDateCourtLocale(localeDates), SeparateurHeureLocale(LocaleIcu(localeDates)),
                                SeparateurDecimalLocale(LocaleIcu(localeNombres)));
}

} // namespace tq
