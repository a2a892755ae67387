#pragma once

#include <cstdint>
#include <string_view>

namespace tq {

// The integer a text holds, or 0 when it holds none. Leading spaces (U+0020
// only) and a sign are allowed; then either decimal digits whose value lies in
// the 32-bit signed range, or a hexadecimal prefix ("$", "x", "X", "0x", "0X")
// and digits whose value fits in 32 bits, read as a two's-complement pattern
// ("$FFFFFFFF" gives -1). Nothing may follow the digits, not even a space.
std::int32_t EntierOuZero(std::u16string_view texte) noexcept;

} // namespace tq
