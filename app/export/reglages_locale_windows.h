#pragma once

// Windows only: the regional settings from the system's locale data.

#include <string_view>

#include "platform/reglages_regionaux.h"

namespace tq {

// The regional settings of a named locale ("fr-FR"); those of the user's
// locale for an empty name.
TReglagesRegionaux ReglagesDeLocale(std::u16string_view nomLocale);

} // namespace tq
