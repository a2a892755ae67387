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

// At a "-" or a digit: takes every code unit of "+-.0123456789eE" from `p`.
// A run that is no well-formed number, or whose value does not fit its kind,
// is kept as a text, unchanged (a view into the text read). Returns where
// the run ends.
const char16_t* LireNombre(const char16_t* p, const char16_t* fin, TValeurSouple& valeur) noexcept;

} // namespace tq::json_souple
