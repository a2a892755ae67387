#include "server/windows_1252.h"

#include <array>

namespace tq {

namespace {

// Bytes 80 to 9F; everywhere else the byte is the code point itself.
constexpr std::array<char16_t, 32> plage80a9F {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

std::u16string DepuisWindows1252(std::string_view octets)
{
    std::u16string texte;
    texte.reserve(octets.size());
    for (const char c : octets) {
        const auto octet = static_cast<unsigned char>(c);
        texte.push_back(octet >= 0x80 && octet <= 0x9F ? plage80a9F[octet - 0x80] : static_cast<char16_t>(octet));
    }
    return texte;
}

} // namespace tq
