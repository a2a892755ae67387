#pragma once

#include <array>
#include <cstdint>

namespace tq {

// A conversion table from UTF-16 code units to bytes, built once and then
// only read: each entry is the one byte of that code unit, no character is
// left out. A high surrogate has its own marker instead: with the low
// surrogate that follows it, it is one character beyond the first plane.
struct TTableEncodage {
    static constexpr std::uint16_t SubstitutHaut = 0xFFFF;

    std::array<std::uint16_t, 0x10000> code {};
};

// The ANSI code page's table with its best-fit mappings: Windows-1252 on
// Linux, the system's ANSI code page (GetACP) on Windows.
const TTableEncodage& TableAnsi();

// The 7-bit ASCII table with its best-fit mappings.
const TTableEncodage& TableAscii();

} // namespace tq
