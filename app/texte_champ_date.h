#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/reglages_regionaux.h"

namespace tq {

// The pattern a date field shows: the user's short date order with a
// two-digit day and month, and the year on four digits only when the short
// date format writes it with four ("M/d/yy" gives "MM/dd/yy").
std::u16string MotifChampDate(const TReglagesRegionaux& reglages);

// The text of a date field holding the given day. Day zero, and any day that
// cannot be written on at most four year digits, gives an empty field.
std::u16string TexteChampDate(std::chrono::year_month_day jour, const TReglagesRegionaux& reglages);

// The day a date field's text stands for: three numbers in the short date
// order, separated by the date separator ("/", "." and "-" are taken too),
// blanks around the text ignored. A year of one or two digits falls within
// fifty years of `anneeCourante`. A text that is not such a day, an empty one
// included, reads as day zero.
std::chrono::year_month_day LireChampDate(std::u16string_view texte, const TReglagesRegionaux& reglages,
                                          std::chrono::year anneeCourante);

} // namespace tq
