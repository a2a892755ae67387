#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace tq {

// The user's regional settings as the core needs them. The window reads them
// from the locale at start-up and whenever the desktop announces a change;
// the core never looks at the environment itself.
struct TReglagesRegionaux {
    // Short date pattern: the letters d, M and y give the fields (dd and MM
    // with a leading zero, yyyy for a four-digit year); every other character
    // marks a place where the date separator is written.
    std::u16string formatDateCourt = u"M/d/yy";
    char16_t separateurDate = u'/';
    char16_t separateurHeure = u':';
    char16_t separateurDecimal = u'.';

    bool operator==(const TReglagesRegionaux&) const = default;
};

// True when the pattern is made of exactly one day, one month and one year
// number field separated by non-letters (for instance "dd/MM/yyyy"); a
// pattern that names the month ("d MMM yyyy") is not. A pattern given by
// hand must be numeric; a locale's need not be (see ReglagesDepuisLocale).
bool EstFormatDateNumerique(std::u16string_view motif);

// Settings from a locale's short date pattern (in the desktop toolkit's
// letters), its time separator and its decimal separator. The pattern gives
// the order of day, month and year, their leading zeros and the year's digits
// (a month written as a name counts as two digits); the first punctuation or
// blank between two fields is the date separator ("/" when only literal text
// parts them). Quoted and other literal text is left out. Only a pattern without a day, a month and a year, each
// once, gives the fallback month/day/two-digit year with "/".
TReglagesRegionaux ReglagesDepuisLocale(std::u16string_view motifDateCourt, char16_t separateurHeure,
                                        char16_t separateurDecimal);

// Day zero of the date type: what an empty or unreadable date field holds.
inline constexpr std::chrono::year_month_day JourZero { std::chrono::year { 1899 }, std::chrono::December,
                                                        std::chrono::day { 30 } };

// The day written with the short date pattern and the date separator.
std::u16string TexteDate(std::chrono::year_month_day jour, const TReglagesRegionaux& reglages);

// The activity log's time stamp "hh:nn:ss.zzz", each ":" written as the
// user's time separator.
std::u16string TexteHorodatage(std::chrono::hh_mm_ss<std::chrono::milliseconds> heure,
                               const TReglagesRegionaux& reglages);

} // namespace tq
