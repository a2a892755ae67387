#pragma once

// Linux only: how a locale named by the environment becomes an ICU locale.

#include <initializer_list>
#include <string>
#include <string_view>

namespace tq {

// The ICU locale for the name the environment gives (LANG, LC_TIME...), read
// as the desktop toolkit reads it: "language[_Script][_TERRITORY]", the tags
// parted by "_" or "-", then an ignored ".codeset" and "@modifier". The
// language's old codes ("iw", "no"...) become the toolkit's current ones.
// Empty for the C locale: "C", "POSIX", "C.UTF-8", and every name that does
// not start with a language code of two or three letters.
std::string LocaleIcu(std::string_view nom);

// The locale whose data ICU holds for `locale` (as LocaleIcu gives it), its
// aliases followed ("sr_RS" is "sr_Cyrl_RS"); empty when ICU has no data of
// that language, where the toolkit takes the C locale.
std::string LocaleDesDonnees(const std::string& locale);

// A text of ICU's data for `locale` (as LocaleDesDonnees gives it): the
// resource at the keys of `chemin` ("calendar", "gregorian",
// "DateTimePatterns"), or its item `indice` when that is a list, taken from
// the locale's own data, else from its parents' up to the root, as ICU's
// services inherit it. Empty when none has it. Reading the data costs a
// fraction of opening one of ICU's formatters.
std::u16string TexteDesDonnees(const std::string& locale, std::initializer_list<const char*> chemin, int indice = -1);

// What the toolkit gives for a locale where its data and ICU's differ: a
// language or territory that only one of them has data for, or whose CLDR
// data changed between the two (the toolkit is Qt 6.4, ICU is ICU 72). The
// short date pattern is in the toolkit's letters.
struct TDonneesDuBureau {
    std::u16string_view motifDateCourt;
    char16_t separateurHeure;
    char16_t separateurDecimal;
};

// The toolkit's values for the ICU locale `locale` (as LocaleIcu gives it)
// when they are not ICU's; nothing when ICU's data is the toolkit's. Checked
// on every locale that a Debian system can generate.
const TDonneesDuBureau* DonneesPropresAuBureau(const std::string& locale);

} // namespace tq
