#pragma once

#include "server/base.h"

#include <chrono>
#include <string>
#include <vector>

namespace tq {

// The result lines of the period statistics query: a header line, then one
// CSV line per centre, in the order of their identifiers, with its figures
// from the first to the last day of the period, both included. A centre
// without activity in the period has a line of zeros.
std::vector<std::u16string> LignesStatistiques(TBase& base, std::chrono::year_month_day debut,
                                               std::chrono::year_month_day fin);

} // namespace tq
