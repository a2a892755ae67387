#pragma once

#include <chrono>
#include <string>

namespace tq {

struct TResumeDemo {
    int centres = 0;
    int joursActivite = 0; // rows of daily activity, one per centre and open day
    int acces = 0;
};

// Creates the demonstration base at the path, replacing whatever file is
// there: the group's centres, their daily activity over thirty-six months
// (from the first day of the month thirty-five months before the given day,
// up to that day) and the accesses of those months up to the day before.
// Every figure is derived from the centre and the calendar day alone, so the
// same day always gives the same base, and a later day the same figures for
// the days both bases hold. The base is built beside the path and renamed
// into place at the end, so a failure leaves any earlier base untouched.
// Raises ErreurBase when the file cannot be written.
TResumeDemo CreerBaseDemo(const std::string& chemin, std::chrono::year_month_day aujourdhui);

} // namespace tq
