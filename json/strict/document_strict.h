#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tq::json_strict {

enum class TTypeValeur : std::uint8_t { Objet, Tableau, Chaine, Nombre, Vrai, Faux, Nul };

struct TAccesInterne;
struct TLectureValeur;
struct TStockageDocument;

// One value of a parsed document: a small handle into the document's storage.
// A value, and every pair and element reached from it, stays valid for as
// long as the document that holds it.
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

// A member of an object: its name and its value.
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
// or elements lie. The accessors below are inline on top of it, so that a
// walk over a large tree costs no call per value.
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

// A parsed JSON text. The document owns the whole tree; destroying it
// releases every value, pair and text at once.
class TDocument {
public:
    TDocument(TDocument&& autre) noexcept;
    TDocument& operator=(TDocument&& autre) noexcept;
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;
    ~TDocument();

    const TValeur& Racine() const noexcept { return racine_; }

private:
    friend struct TAccesInterne;
    TDocument(TValeur racine, std::unique_ptr<TStockageDocument> stockage) noexcept;

    TValeur racine_;
    std::unique_ptr<TStockageDocument> stockage_;
};

// Reads the bytes from `debut` to the end as exactly one JSON value (UTF-8,
// an optional byte-order mark, whitespace around it). Any malformed text, a
// start beyond the end, or nesting deeper than 512 objects and arrays gives
// nothing; bad input never throws.
std::optional<TDocument> ParseDocument(std::string_view octets, std::size_t debut = 0);

inline TTypeValeur ValueKind(const TValeur& valeur) noexcept
{
    return TLectureValeur::Type(valeur);
}

// The first pair whose name has exactly these code units; nothing when there
// is none or when the value is not an object.
const TPaire* FindPair(const TValeur& objet, std::u16string_view nom) noexcept;
inline const TValeur& PairValue(const TPaire& paire) noexcept
{
    return TLectureValeur::ValeurDe(paire);
}
inline std::u16string_view PairName(const TPaire& paire) noexcept
{
    return TLectureValeur::Texte(TLectureValeur::Nom(paire));
}

// Pairs of an object in document order; 0 and nothing for any other kind.
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

// Elements of an array in document order; 0 and nothing for any other kind.
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

// The text of a string, the formatted value of a number (written with the
// given decimal separator), the empty text for every other kind. A number of
// 12 or more characters without a "." must be a 64-bit integer; otherwise
// this throws tq::Erreur "'<number>' n'est pas une valeur entière correcte".
std::u16string ValueText(const TValeur& valeur, char16_t separateurDecimal);

// The text of a string, as a view into the document: what ValueText gives
// for a string, without a copy. The empty text for every other kind.
inline std::u16string_view StringView(const TValeur& valeur) noexcept
{
    return ValueKind(valeur) == TTypeValeur::Chaine ? TLectureValeur::Texte(valeur) : std::u16string_view {};
}

// Compact JSON text of the value: no whitespace, only the double quote and
// the backslash escaped, numbers as their source characters.
std::u16string ToJsonText(const TValeur& valeur);

} // namespace tq::json_strict
