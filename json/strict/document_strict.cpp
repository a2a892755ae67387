#include "json/strict/document_strict.h"

#include "json/strict/stockage_document.h"

#include <utility>

namespace tq::json_strict {

using A = TAccesInterne;

TDocument::TDocument(TValeur racine, std::unique_ptr<TStockageDocument> stockage) noexcept
    : racine_ { racine }
    , stockage_ { std::move(stockage) }
{
}

// A document that was moved from holds a null root and no storage, so a
// stale handle taken from it can never reach freed memory through Racine().
TDocument::TDocument(TDocument&& autre) noexcept
    : racine_ { std::exchange(autre.racine_, A::Valeur(TTypeValeur::Nul)) }
    , stockage_ { std::move(autre.stockage_) }
{
}

TDocument& TDocument::operator=(TDocument&& autre) noexcept
{
    if (this != &autre) {
        racine_ = std::exchange(autre.racine_, A::Valeur(TTypeValeur::Nul));
        stockage_ = std::move(autre.stockage_);
    }
    return *this;
}

TDocument::~TDocument() = default;

TTypeValeur ValueKind(const TValeur& valeur) noexcept { return A::Type(valeur); }

const TPaire* FindPair(const TValeur& objet, std::u16string_view nom) noexcept
{
    if (A::Type(objet) != TTypeValeur::Objet)
        return nullptr;
    const TPaire* paires = A::Paires(objet);
    const std::size_t n = A::Taille(objet);
    for (std::size_t i = 0; i < n; ++i) {
        if (A::Texte(A::Nom(paires[i])) == nom)
            return &paires[i];
    }
    return nullptr;
}

const TValeur& PairValue(const TPaire& paire) noexcept { return A::ValeurDe(paire); }

std::u16string_view PairName(const TPaire& paire) noexcept { return A::Texte(A::Nom(paire)); }

std::u16string_view StringView(const TValeur& valeur) noexcept
{
    return A::Type(valeur) == TTypeValeur::Chaine ? A::Texte(valeur) : std::u16string_view {};
}

std::size_t PairCount(const TValeur& objet) noexcept
{
    return A::Type(objet) == TTypeValeur::Objet ? A::Taille(objet) : 0;
}

const TPaire* PairAt(const TValeur& objet, std::ptrdiff_t indice) noexcept
{
    if (indice < 0 || static_cast<std::size_t>(indice) >= PairCount(objet))
        return nullptr;
    return &A::Paires(objet)[indice];
}

std::size_t ElementCount(const TValeur& tableau) noexcept
{
    return A::Type(tableau) == TTypeValeur::Tableau ? A::Taille(tableau) : 0;
}

const TValeur* ElementAt(const TValeur& tableau, std::ptrdiff_t indice) noexcept
{
    if (indice < 0 || static_cast<std::size_t>(indice) >= ElementCount(tableau))
        return nullptr;
    return &A::Elements(tableau)[indice];
}

} // namespace tq::json_strict
