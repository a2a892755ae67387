#pragma once

// Internal to the lenient reader: the value of a taken number text.

#include "json/souple/valeur_souple.h"

#include <string_view>

namespace tq::json_souple {

// `pris` is a run of "+-.0123456789eE" that starts with "-" or a digit.
// Gives its integer, decimal or floating value, or false when the run is no
// well-formed number or its value does not fit its kind; the reader then
// keeps the run as a text.
bool ConvertirNombre(std::u16string_view pris, TValeurSouple& valeur) noexcept;

} // namespace tq::json_souple
