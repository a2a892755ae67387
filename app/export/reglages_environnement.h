#pragma once

#include <string>

#include "platform/reglages_regionaux.h"

namespace tq {

// The locale variables a program was started with; an unset variable is
// empty.
struct TVariablesLocale {
    std::string lcAll {};
    std::string lcTime {};
    std::string lcNumeric {};
    std::string lang {};
};

// The regional settings that the window finds in the same environment. Its
// toolkit takes the dates and the time separator from LC_ALL, else LC_TIME,
// else LANG, else the C locale, and the decimal separator from LC_ALL, else
// LC_NUMERIC, else LANG, else the C locale (a variable set but empty counts as
// unset); LANGUAGE and LC_MESSAGES play no part.
TReglagesRegionaux ReglagesDeLEnvironnement(const TVariablesLocale& variables);

} // namespace tq
