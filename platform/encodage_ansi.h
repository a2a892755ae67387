#pragma once

#include <string>
#include <string_view>

namespace tq {

// Text to the ANSI code page (Windows-1252 on Linux, the system's own on
// Windows): the bytes of each character of the code page, a best-fit character for a character outside it
// (a letter with a diacritic gives its base letter, typographic punctuation its
// plain form), "?" when there is none. No character is left out: zero-width
// ones (the byte-order mark among them) give "?" too, and a surrogate pair one
// "?". No byte-order mark is written. No character outside 7-bit ASCII ever
// gives the double quote or the backslash.
std::string VersAnsi(std::u16string_view texte);

// The same conversion, appended to the end of `sortie`.
void AjouterEnAnsi(std::string& sortie, std::u16string_view texte);

// The same conversion, appended, with each backslash that stands directly
// before a double quote left out: scanning from left to right, the quote is
// kept and the scan resumes behind it, so "\\\"" gives "\"".
void AjouterEnAnsiSansBarresDevantGuillemets(std::string& sortie, std::u16string_view texte);

// Text reduced to 7-bit ASCII, one byte per character: ASCII unchanged, a
// letter with a diacritic gives its base letter ("é" gives "e"), other
// characters their nearest ASCII character where there is one ("œ" gives
// "o", "…" gives ".", typographic quotes an apostrophe, the soft hyphen "-"),
// "?" otherwise, zero-width characters and the byte-order mark included. No
// character outside ASCII gives the double quote or the backslash, so a valid
// JSON text stays valid JSON after the reduction.
std::string ReductionAscii(std::u16string_view texte);

} // namespace tq
