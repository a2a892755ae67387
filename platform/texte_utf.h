#pragma once

#include <string>
#include <string_view>

namespace tq {

// Conversions between the in-memory text (UTF-16 code units) and UTF-8.
// Invalid input never fails: an unpaired surrogate or an ill-formed UTF-8
// sequence becomes U+FFFD.
std::string VersUtf8(std::u16string_view texte);
std::u16string DepuisUtf8(std::string_view octets);

} // namespace tq
