#pragma once

#include <string>
#include <string_view>

namespace tq {

// The short date pattern of a locale named as the environment names it
// ("de_DE.UTF-8", "en_US", "C"), written with the desktop toolkit's letters
// (d, M, yy or yyyy, quoted literal text). It comes from the same CLDR data
// that the toolkit draws on, so that a program without the toolkit knows in
// which order the window writes its dates. The name is read as the toolkit
// reads it (see LocaleIcu). The C and POSIX locales, a name without a locale
// and a language without data give "d MMM yyyy", the toolkit's own pattern
// for the C locale.
std::u16string MotifDateCourtLocale(std::string_view nomLocale);

} // namespace tq
