#include "platform/motif_date_locale.h"

#include "platform/locale_icu.h"

namespace tq {

namespace {

constexpr std::u16string_view MotifLocaleC = u"d MMM yyyy";

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
    const std::string donnees = LocaleDesDonnees(locale);
    if (donnees.empty())
        return std::u16string(MotifLocaleC);
    // The patterns of the Gregorian calendar, the short date's at index 7.
    const std::u16string motif = TexteDesDonnees(donnees, { "calendar", "gregorian", "DateTimePatterns" }, 7);
    return motif.empty() ? std::u16string(MotifLocaleC) : VersLettresDuBureau(motif);
}

} // namespace tq
