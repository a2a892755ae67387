#pragma once

// Internal to the lenient reader: backslash escapes inside texts and names.

#include "json/souple/arbre_souple.h"
#include "platform/caracteres.h"

#include <cstddef>
#include <cstdint>

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

enum class TRognage : std::uint8_t { Aucun, BlancsFinaux };

// The text of the run [debut, fin): a view into the text read when it holds
// no escape (`echappe` false), else its decoding in the arena. Trailing
// spaces and line breaks that no escape gave are removed if asked. False when
// an escape is malformed.
inline bool TexteDuSegment(const char16_t* debut, const char16_t* fin, bool echappe, TRognage rognage, TArene& arene,
                           const char16_t*& texte, std::uint32_t& taille)
{
    const std::size_t n = static_cast<std::size_t>(fin - debut);
    TTexteDecode decode { n, 0 };
    texte = debut;
    if (echappe) {
        char16_t* copie = arene.AllouerUnites(n + MargeDecodage);
        if (!DecoderEchappements(debut, fin, copie, decode))
            return false;
        texte = copie;
    }
    if (rognage == TRognage::BlancsFinaux) {
        while (decode.taille > decode.protege) {
            const char16_t dernier = texte[decode.taille - 1];
            if (dernier != u' ' && dernier != u'\r' && dernier != u'\n')
                break;
            --decode.taille;
        }
    }
    taille = static_cast<std::uint32_t>(decode.taille);
    return true;
}

} // namespace tq::json_souple
