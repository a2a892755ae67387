#pragma once

#include <string>
#include <string_view>

#include "platform/reglages_regionaux.h"

namespace tq {

// The user's regional settings (short date pattern, time and decimal
// separators) as the system gives them: through QtCore on Linux, from the
// system's locale data on Windows, where tq_export needs no Qt.
TReglagesRegionaux ReglagesSysteme();

// The local date and time to the millisecond, as "yyyy-MM-dd hh:mm:ss.zzz"
// whatever the locale.
std::string HorodatageLocal();

} // namespace tq
