#pragma once

#include <string>
#include <string_view>

namespace tq {

// Decodes bytes in the Windows-1252 code page, the code page in which the
// client posts its requests. Every byte gives one code unit: the five bytes
// that the code page leaves unassigned (81, 8D, 8F, 90, 9D) give the C1
// control of the same number, as the platform's own conversion does.
std::u16string DepuisWindows1252(std::string_view octets);

} // namespace tq
