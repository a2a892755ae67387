#pragma once

// Internal to the strict reader, included at the end of document_strict.h:
// how a value is stored, and the inline functions that read it.

#include "json/strict/document_strict.h"

namespace tq::json_strict {

struct TAccesInterne;
struct TLectureValeur;

// A small handle into the document's storage.
class TValeur {
private:
    friend struct TAccesInterne;
    friend struct TLectureValeur;
    TValeur(TTypeValeur type, std::size_t taille, const void* donnees) noexcept
        : entete_ { static_cast<std::uint64_t>(taille) << 8 | static_cast<std::uint8_t>(type) }
        , donnees_ { donnees }
    {
    }

    // The kind in the low byte, the count of pairs, elements or code units above it.
    std::uint64_t entete_;
    const void* donnees_;
};

class TPaire {
private:
    friend struct TAccesInterne;
    friend struct TLectureValeur;
    TPaire(TValeur nom, TValeur valeur) noexcept
        : nom_ { nom }
        , valeur_ { valeur }
    {
    }

    TValeur nom_;
    TValeur valeur_;
};

// How a value's handle reads: its kind, its count, and where its text, pairs
// or elements lie.
struct TLectureValeur {
    static TTypeValeur Type(const TValeur& v) noexcept { return static_cast<TTypeValeur>(v.entete_ & 0xFF); }
    static std::size_t Taille(const TValeur& v) noexcept { return static_cast<std::size_t>(v.entete_ >> 8); }
    static std::u16string_view Texte(const TValeur& v) noexcept
    {
        return { static_cast<const char16_t*>(v.donnees_), Taille(v) };
    }
    static const TValeur* Elements(const TValeur& v) noexcept { return static_cast<const TValeur*>(v.donnees_); }
    static const TPaire* Paires(const TValeur& v) noexcept { return static_cast<const TPaire*>(v.donnees_); }
    static const TValeur& Nom(const TPaire& p) noexcept { return p.nom_; }
    static const TValeur& ValeurDe(const TPaire& p) noexcept { return p.valeur_; }
};

inline TTypeValeur ValueKind(const TValeur& valeur) noexcept
{
    return TLectureValeur::Type(valeur);
}

inline const TValeur& PairValue(const TPaire& paire) noexcept
{
    return TLectureValeur::ValeurDe(paire);
}

inline std::u16string_view PairName(const TPaire& paire) noexcept
{
    return TLectureValeur::Texte(TLectureValeur::Nom(paire));
}

inline std::size_t PairCount(const TValeur& objet) noexcept
{
    return ValueKind(objet) == TTypeValeur::Objet ? TLectureValeur::Taille(objet) : 0;
}

inline const TPaire* PairAt(const TValeur& objet, std::ptrdiff_t indice) noexcept
{
    if (indice < 0 || static_cast<std::size_t>(indice) >= PairCount(objet))
        return nullptr;
    return &TLectureValeur::Paires(objet)[indice];
}

inline std::size_t ElementCount(const TValeur& tableau) noexcept
{
    return ValueKind(tableau) == TTypeValeur::Tableau ? TLectureValeur::Taille(tableau) : 0;
}

inline const TValeur* ElementAt(const TValeur& tableau, std::ptrdiff_t indice) noexcept
{
    if (indice < 0 || static_cast<std::size_t>(indice) >= ElementCount(tableau))
        return nullptr;
    return &TLectureValeur::Elements(tableau)[indice];
}

inline std::u16string_view StringView(const TValeur& valeur) noexcept
{
    return ValueKind(valeur) == TTypeValeur::Chaine ? TLectureValeur::Texte(valeur) : std::u16string_view {};
}

} // namespace tq::json_strict
