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

const TPaire* FindPair(const TValeur& objet, std::u16string_view nom) noexcept
{
    for (std::size_t i = 0, n = PairCount(objet); i < n; ++i) {
        const TPaire* paire = PairAt(objet, static_cast<std::ptrdiff_t>(i));
        if (PairName(*paire) == nom)
            return paire;
    }
    return nullptr;
}

} // namespace tq::json_strict
