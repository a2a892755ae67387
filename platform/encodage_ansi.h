#pragma once

#include <cstddef>
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

// A rule of the caller for one ASCII character: at each place of `caractere`
// in the text, `ecrire` receives the text from there to the end and gives the
// one byte written for it and how many code units that byte covers (one at
// least), the scan resuming behind them.
struct TRegleCaractere {
    struct TEcriture {
        char octet;
        std::size_t unites;
    };
    char16_t caractere;
    TEcriture (*ecrire)(std::u16string_view suite);
};

// The same conversion, appended, with the caller's rule for one character.
void AjouterEnAnsi(std::string& sortie, std::u16string_view texte, const TRegleCaractere& regle);

// Text reduced to 7-bit ASCII, one byte per character: ASCII unchanged, a
// letter with a diacritic gives its base letter ("é" gives "e"), other
// characters their nearest ASCII character where there is one ("œ" gives
// "o", "…" gives ".", typographic quotes an apostrophe, the soft hyphen "-"),
// "?" otherwise, zero-width characters and the byte-order mark included. No
// character outside ASCII gives the double quote or the backslash, so a valid
// JSON text stays valid JSON after the reduction.
std::string ReductionAscii(std::u16string_view texte);

} // namespace tq
