#pragma once

// Internal to the lenient reader: backslash escapes inside texts and names.

#include "platform/caracteres.h"

#include <cstddef>

namespace tq::json_souple {

struct TTexteDecode {
    std::size_t taille;  // code units written
    std::size_t protege; // code units up to the last one that an escape gave
};

// Decodes the escape whose backslash is just before `p`, and moves `p` past
// it. False when "\u" or "\x" is not followed by enough hexadecimal digits
// before `fin`; `p` must be before `fin`.
inline bool DecoderEchappement(const char16_t*& p, const char16_t* fin, char16_t& unite) noexcept
{
    const char16_t c = *p++;
    int chiffres = 0;
    switch (c) {
    case u'b':
        unite = 8;
        return true;
    case u't':
        unite = 9;
        return true;
    case u'n':
        unite = 10;
        return true;
    case u'f':
        unite = 12;
        return true;
    case u'r':
        unite = 13;
        return true;
    case u'u':
        chiffres = 4;
        break;
    case u'x':
        chiffres = 2;
        break;
    default:
        unite = c;
        return true;
    }
    unsigned valeur = 0;
    for (int i = 0; i < chiffres; ++i, ++p) {
        const int v = p < fin ? ValeurHexa(*p) : -1;
        if (v < 0)
            return false;
        valeur = valeur * 16 + static_cast<unsigned>(v);
    }
    unite = static_cast<char16_t>(valeur);
    return true;
}

// Code units that decoding may write past the decoded text.
inline constexpr std::size_t MargeDecodage = 8;

// Decodes the run [debut, fin) into `sortie`, which has room for
// fin - debut + MargeDecodage code units: "\b", "\t", "\n", "\f", "\r", "\uXXXX", "\xXX", and a
// backslash before any other code unit gives that code unit. A backslash
// that ends the run stands for itself. False when "\u" or "\x" is not
// followed by enough hexadecimal digits within the run.
bool DecoderEchappements(const char16_t* debut, const char16_t* fin, char16_t* sortie, TTexteDecode& decode) noexcept;

} // namespace tq::json_souple
