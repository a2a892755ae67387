#pragma once

#include <string_view>

namespace tq {

// Code pages, numbered as the desktop platform numbers them. Those named here
// have a decoder of their own; every other one goes through the conversion
// library.
inline constexpr int CodePageAucun = 0;
inline constexpr int CodePageOem437 = 437;
inline constexpr int CodePageUtf16Le = 1200;
inline constexpr int CodePageUtf16Be = 1201;
inline constexpr int CodePageWindows1252 = 1252;
inline constexpr int CodePageUtf32Le = 12000;
inline constexpr int CodePageUtf32Be = 12001;
inline constexpr int CodePageUsAscii = 20127;
inline constexpr int CodePageLatin1 = 28591;
inline constexpr int CodePageUtf7 = 65000;
inline constexpr int CodePageUtf8 = 65001;

// The code page of a registered character set name or alias, compared without
// regard to ASCII letter case; CodePageAucun for a name that is not
// registered (for instance "utf8").
int CodePageCharset(std::string_view nom);

// The name under which the conversion library knows a code page, or an empty
// view when it has none.
std::string_view NomConvertisseur(int codePage);

} // namespace tq
