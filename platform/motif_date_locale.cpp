#include "platform/motif_date_locale.h"

#include <memory>

#include <unicode/udat.h>

#include "platform/locale_icu.h"

namespace tq {

namespace {

constexpr std::u16string_view MotifLocaleC = u"d MMM yyyy";

struct TFermerFormat {
    void operator()(UDateFormat* format) const { udat_close(format); }
};

// The library's letters in the toolkit's: a year of one or three letters is
// the full year there, "yy" and "yyyy" mean the same in both; "L", the month
// standing alone, is a month. Quoted text is copied as it is.
std::u16string VersLettresDuBureau(std::u16string_view motif)
{
    std::u16string sortie;
    bool dansGuillemets = false;
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        if (c == u'\'')
            dansGuillemets = !dansGuillemets;
        if (dansGuillemets || c == u'\'' || (c != u'y' && c != u'L')) {
            sortie.push_back(c);
            ++i;
            continue;
        }
        std::size_t fin = i;
        while (fin < motif.size() && motif[fin] == c)
            ++fin;
        const std::size_t longueur = fin - i;
        if (c == u'L')
            sortie.append(longueur, u'M');
        else
            sortie.append(longueur == 2 ? 2 : 4, u'y');
        i = fin;
    }
    return sortie;
}

} // namespace

std::u16string MotifDateCourtLocale(std::string_view nomLocale)
{
    const std::string locale = LocaleIcu(nomLocale);
    if (locale.empty())
        return std::u16string(MotifLocaleC);
    if (const TDonneesDuBureau* propres = DonneesPropresAuBureau(locale))
        return std::u16string(propres->motifDateCourt);
    UErrorCode erreur = U_ZERO_ERROR;
    const std::unique_ptr<UDateFormat, TFermerFormat> format { udat_open(UDAT_NONE, UDAT_SHORT, locale.c_str(), nullptr,
                                                                         0, nullptr, 0, &erreur) };
    if (U_FAILURE(erreur) || !DonneesDeLaLangue(locale, udat_getLocaleByType(format.get(), ULOC_VALID_LOCALE, &erreur)))
        return std::u16string(MotifLocaleC);
    UChar tampon[64];
    const int32_t longueur = udat_toPattern(format.get(), false, tampon, 64, &erreur);
    if (U_FAILURE(erreur) || longueur > 64)
        return std::u16string(MotifLocaleC);
    return VersLettresDuBureau(std::u16string_view(tampon, static_cast<std::size_t>(longueur)));
}

} // namespace tq
