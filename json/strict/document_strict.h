#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tq::json_strict {

enum class TTypeValeur : std::uint8_t { Objet, Tableau, Chaine, Nombre, Vrai, Faux, Nul };

// One value of a parsed document. A value, and every pair and element reached
// from it, stays valid for as long as the document that holds it; a caller
// holds values by reference and reads them through the functions below.
class TValeur;

// A member of an object: its name and its value.
class TPaire;

class TDocument;

// Reads the bytes from `debut` to the end as exactly one JSON value (UTF-8,
// an optional byte-order mark, whitespace around it). Any malformed text, a
// start beyond the end, or nesting deeper than 512 objects and arrays gives
// nothing; bad input never throws.
std::optional<TDocument> ParseDocument(std::string_view octets, std::size_t debut = 0);

inline TTypeValeur ValueKind(const TValeur& valeur) noexcept;

// The first pair whose name has exactly these code units; nothing when there
// is none or when the value is not an object.
const TPaire* FindPair(const TValeur& objet, std::u16string_view nom) noexcept;
inline const TValeur& PairValue(const TPaire& paire) noexcept;
inline std::u16string_view PairName(const TPaire& paire) noexcept;

// Pairs of an object in document order; 0 and nothing for any other kind.
inline std::size_t PairCount(const TValeur& objet) noexcept;
inline const TPaire* PairAt(const TValeur& objet, std::ptrdiff_t indice) noexcept;

// Elements of an array in document order; 0 and nothing for any other kind.
inline std::size_t ElementCount(const TValeur& tableau) noexcept;
inline const TValeur* ElementAt(const TValeur& tableau, std::ptrdiff_t indice) noexcept;

// The text of a string, the formatted value of a number (written with the
// given decimal separator), the empty text for every other kind. A number of
// 12 or more characters without a "." must be a 64-bit integer; otherwise
// this throws tq::Erreur "'<number>' n'est pas une valeur entière correcte".
std::u16string ValueText(const TValeur& valeur, char16_t separateurDecimal);

// The text of a string, as a view into the document: what ValueText gives
// for a string, without a copy. The empty text for every other kind.
inline std::u16string_view StringView(const TValeur& valeur) noexcept;

// Compact JSON text of the value: no whitespace, only the double quote and
// the backslash escaped, numbers as their source characters.
std::u16string ToJsonText(const TValeur& valeur);

struct TStockageDocument;

// A parsed JSON text. The document owns the whole tree; destroying it
// releases every value, pair and text at once. A document that was moved
// from has a null root.
class TDocument {
public:
    TDocument(TDocument&& autre) noexcept;
    TDocument& operator=(TDocument&& autre) noexcept;
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;
    ~TDocument();

    const TValeur& Racine() const noexcept;

private:
    friend struct TAccesInterne;
    explicit TDocument(std::unique_ptr<TStockageDocument> stockage) noexcept;

    std::unique_ptr<TStockageDocument> stockage_;
};

} // namespace tq::json_strict

// How a value is stored, and the inline definitions of the functions above,
// so that a walk over a large tree costs no call per value.
#include "json/strict/valeur_interne.h"
