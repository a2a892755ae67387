#include "json/strict/document_strict.h"

#include "json/strict/stockage_document.h"

#include <utility>

namespace tq::json_strict {

using A = TAccesInterne;

TDocument::TDocument(std::unique_ptr<TStockageDocument> stockage) noexcept
    : stockage_ { std::move(stockage) }
{
}

TDocument::TDocument(TDocument&& autre) noexcept = default;
TDocument& TDocument::operator=(TDocument&& autre) noexcept = default;

// A document that was moved from holds no storage and answers a null root,
// so a stale handle taken from it can never reach freed memory.
const TValeur& TDocument::Racine() const noexcept
{
    static const TValeur nulle = A::Valeur(TTypeValeur::Nul);
    return stockage_ ? stockage_->racine : nulle;
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
