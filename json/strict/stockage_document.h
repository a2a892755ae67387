#pragma once

// Internal to the strict reader: how a document stores its tree, and the one
// door through which the reader's own files build and read values.

#include "json/strict/document_strict.h"
#include "platform/grand_tampon.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace tq::json_strict {

struct TAccesInterne : TLectureValeur {
    static TValeur Valeur(TTypeValeur type, std::size_t taille = 0, const void* donnees = nullptr) noexcept
    {
        return TValeur { type, taille, donnees };
    }
    static TPaire Paire(TValeur nom, TValeur valeur) noexcept { return TPaire { nom, valeur }; }

    static TDocument Document(std::unique_ptr<TStockageDocument> stockage) noexcept
    {
        return TDocument { std::move(stockage) };
    }
};

// Memory of a document, released through the alignment it was asked with.
struct TLiberationZone {
    std::align_val_t alignement;
    void operator()(void* zone) const noexcept { ::operator delete(zone, alignement); }
};
template <class T> using TZone = std::unique_ptr<T[], TLiberationZone>;

// Room for n values, left unfilled. Room of a huge page or more starts on a
// huge page and ends on one, and is advised for them: the advice covers only
// the huge pages that lie wholly inside, and a few megabytes placed anywhere
// would otherwise keep half of their pages small, each faulted in on its own.
template <class T> TZone<T> NouvelleZone(std::size_t n)
{
    constexpr std::size_t GrandePage = std::size_t { 2 } << 20;
    std::size_t octets = std::max<std::size_t>(n, 1) * sizeof(T);
    const bool grande = octets >= GrandePage;
    if (grande)
        octets = (octets + GrandePage - 1) & ~(GrandePage - 1);
    const std::align_val_t alignement { grande ? GrandePage : alignof(std::max_align_t) };
    void* zone = ::operator new(octets, alignement);
    if (grande)
        ConseillerGrandesPages(zone, octets);
    return TZone<T> { static_cast<T*>(zone), TLiberationZone { alignement } };
}

// Everything a document owns: its root and its storage. The texts of all strings and numbers share one
// buffer allocated once for the largest size the input can need (every input
// byte gives at most one code unit), so nothing moves while the tree is
// built. The pairs and elements of each object and array are contiguous in
// blocks that are never reallocated either.
struct TStockageDocument {
    explicit TStockageDocument(std::size_t tailleEntree)
        : textes { NouvelleZone<char16_t>(tailleEntree) }
        , tailleBloc_ { std::max<std::size_t>(tailleEntree, 256) }
    {
    }

    // Copies n values into storage owned by the document and returns the copy.
    template <class T> const T* Copier(const T* source, std::size_t n)
    {
        static_assert(std::is_trivially_copyable_v<T> && sizeof(T) % alignof(std::max_align_t) == 0);
        T* cible = reinterpret_cast<T*>(Reserver(n * sizeof(T)));
        std::uninitialized_copy_n(source, n, cible);
        return cible;
    }

    TValeur racine = TAccesInterne::Valeur(TTypeValeur::Nul);
    // Twice the input's size, written once from start to end.
    TZone<char16_t> textes;

private:
    std::byte* Reserver(std::size_t octets)
    {
        // A large request gets a block of its own, so the current block keeps its free space.
        if (octets > tailleBloc_ / 2) {
            blocs_.push_back(NouvelleZone<std::byte>(octets));
            return blocs_.back().get();
        }
        if (octets > reste_) {
            blocs_.push_back(NouvelleZone<std::byte>(tailleBloc_));
            libre_ = blocs_.back().get();
            reste_ = tailleBloc_;
            tailleBloc_ = std::min<std::size_t>(tailleBloc_ * 2, 4 * 1024 * 1024);
        }
        std::byte* zone = libre_;
        libre_ += octets;
        reste_ -= octets;
        return zone;
    }

    std::vector<TZone<std::byte>> blocs_;
    std::byte* libre_ = nullptr;
    std::size_t reste_ = 0;
    std::size_t tailleBloc_;
};

} // namespace tq::json_strict
