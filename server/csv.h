#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tq {

// The result lines are CSV records for a French spreadsheet: ";" between
// fields, a decimal comma, and a field put in double quotes (its own quotes
// doubled) only when it holds ";", a double quote or a line break.
std::u16string ChampCsv(std::u16string_view texte);

// The fields, each made a CSV field, joined by ";".
std::u16string LigneCsv(const std::vector<std::u16string>& champs);

// An amount in cents as euros with a decimal comma and two decimals, no
// grouping of thousands: 123456 gives "1234,56", -5 gives "-0,05".
std::u16string MontantCsv(long long centimes);

// The rounded mean amount in cents of a total over a count (half away from
// zero), 0 for a count of 0.
long long MoyenneCentimes(long long totalCentimes, long long nombre);

} // namespace tq
