#pragma once

#include <string_view>

#include "platform/reglages_regionaux.h"

namespace tq {

// The regional settings that the desktop toolkit gives a session whose dates
// follow the locale `localeDates` and whose numbers follow `localeNombres`,
// both named as the environment names them ("de_DE.UTF-8", "C"): the short
// date pattern and the time separator of the first, the decimal separator of
// the second. They come from ICU's locale data, which carries the same CLDR
// data as the toolkit, so a program without the toolkit writes the window's
// dates. A name that is not a locale, or whose language has no data, is the
// C locale, as for the toolkit: "d MMM yyyy", ":" and ".".
TReglagesRegionaux ReglagesDesLocales(std::string_view localeDates, std::string_view localeNombres);

} // namespace tq
