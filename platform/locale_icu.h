#pragma once

// Linux only: how a locale named by the environment becomes an ICU locale.

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

// Whether the data that ICU found for the locale `demandee` (`trouvee`, the
// locale a service opened on it reports as valid) belongs to its language.
// For a language it has no data for, ICU falls back on the process's default
// locale, where the toolkit takes the C locale.
bool DonneesDeLaLangue(const std::string& demandee, const char* trouvee);

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
