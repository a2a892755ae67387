#pragma once

#include <string>
#include <string_view>

#include "platform/reglages_regionaux.h"

namespace tq {

// The user's regional settings (short date pattern, time and decimal
// separators) as the window finds them: on Linux from the environment's
// locale variables and ICU's locale data (see ReglagesDeLEnvironnement), on
// Windows from the system's locale data.
TReglagesRegionaux ReglagesSysteme();

// The local date and time to the millisecond, as "yyyy-MM-dd hh:mm:ss.zzz"
// whatever the locale.
std::string HorodatageLocal();

} // namespace tq
