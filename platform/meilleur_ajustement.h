#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tq {

// A conversion table from UTF-16 code units to bytes, built once and then
// only read. An entry below 0x100 is the one byte of that code unit; from
// 0x100 up it is 0x100 plus the index of a byte sequence in `suites` (several
// bytes, or none for a character that is dropped). A high surrogate has its
// own marker: it takes the low surrogate that follows with it.
struct TTableEncodage {
    static constexpr std::uint16_t PremiereSuite = 0x100;
    static constexpr std::uint16_t SubstitutHaut = 0xFFFF;

    std::array<std::uint16_t, 0x10000> code {};
    std::vector<std::string> suites;
};

// The Windows-1252 table with its best-fit mappings.
const TTableEncodage& TableAnsi();

// The 7-bit ASCII table with its best-fit mappings.
const TTableEncodage& TableAscii();

} // namespace tq
