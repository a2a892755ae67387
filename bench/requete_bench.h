#pragma once

#include <string>

namespace tq::bench {

// The period statistics query for March 2024, as the system writes it (day
// first, four-digit year) and as it sends it: in the ANSI code page.
std::u16string RequeteStatistiques();
std::u16string RequeteCentres();
std::string CorpsRequete(const std::u16string& requete);

// Code units of the text that the UTF-8 bytes decode to, counted without
// decoding: one per lead byte, two for a character beyond the first plane.
std::size_t UnitesUtf16(std::string_view utf8);

} // namespace tq::bench
