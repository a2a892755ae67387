#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/reglages_regionaux.h"

namespace tq {

// The text of a date field holding the given day: the user's short date
// order with a two-digit day and month, and the year on four digits only when
// the short date format writes it with four ("M/d/yy" gives "MM/dd/yy"). Day
// zero, and any day that cannot be written on at most four year digits, gives
// an empty field.
std::u16string TexteChampDate(std::chrono::year_month_day jour, const TReglagesRegionaux& reglages);

// The day a date field's text stands for: three numbers in the short date
// order, separated by the date separator ("/", "." and "-" are taken too),
// blanks around the text ignored. A year of one or two digits falls within
// fifty years of `anneeCourante`. A text that is not such a day, an empty one
// included, reads as day zero.
std::chrono::year_month_day LireChampDate(std::u16string_view texte, const TReglagesRegionaux& reglages,
                                          std::chrono::year anneeCourante);

// One of the three numbers of a date field, in the order the field shows
// them: the part of the date it holds ('d', 'M' or 'y') and the number of
// digits the field writes it with.
struct TNombreChampDate {
    char16_t partie;
    std::size_t chiffres;
};
std::array<TNombreChampDate, 3> NombresChampDate(const TReglagesRegionaux& reglages);

} // namespace tq
