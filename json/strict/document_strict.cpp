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
    if (A::Type(objet) != TTypeValeur::Objet)
        return nullptr;
    const TPaire* paires = A::Paires(objet);
    const std::size_t n = A::Taille(objet);
    for (std::size_t i = 0; i < n; ++i)
        if (A::Texte(A::Nom(paires[i])) == nom)
            return &paires[i];
    return nullptr;
}

} // namespace tq::json_strict
