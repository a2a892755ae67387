#pragma once

// Internal to the lenient reader: how values, member names and the
// document's storage are laid out. Not part of the public interface.

#include "json/souple/valeur_souple.h"
#include "platform/grand_tampon.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace tq::json_souple {

// The name of one object member. An object's block holds its names first,
// then its values, so that the values alone form a contiguous span.
struct TNomMembre {
    const char16_t* texte;
    std::uint32_t taille;
    std::uint32_t hachage;

    std::u16string_view Vue() const noexcept { return { texte, taille }; }
};

static_assert(sizeof(TValeurSouple) == 16);
static_assert(sizeof(TNomMembre) == 16);

// h <- h * 129 + c + 0x9E370001 (mod 2^32) over the name's code units.
inline std::uint32_t HachageMembre(std::u16string_view nom) noexcept
{
    std::uint32_t h = 0;
    for (char16_t c : nom)
        h = h * 129u + c + 0x9E370001u;
    return h;
}

struct TAccesValeur {
    static TValeurSouple Scalaire(TGenreSouple genre, std::int64_t entier) noexcept
    {
        TValeurSouple v;
        v.entier_ = entier;
        v.entete_ = Entete(genre, 0);
        return v;
    }
    static TValeurSouple Flottant(double d) noexcept
    {
        TValeurSouple v;
        v.flottant_ = d;
        v.entete_ = Entete(TGenreSouple::Flottant, 0);
        return v;
    }
    static TValeurSouple Texte(const char16_t* texte, std::uint32_t taille) noexcept
    {
        TValeurSouple v;
        v.texte_ = texte;
        v.entete_ = Entete(TGenreSouple::Texte, taille);
        return v;
    }
    static TValeurSouple Conteneur(TGenreSouple genre, const TValeurSouple* enfants, std::uint32_t taille) noexcept
    {
        TValeurSouple v;
        v.enfants_ = enfants;
        v.entete_ = Entete(genre, taille);
        return v;
    }
    static const TValeurSouple* Enfants(const TValeurSouple& v) noexcept { return v.enfants_; }
    static std::uint32_t TailleBrute(const TValeurSouple& v) noexcept { return v.TailleBrute(); }

    static constexpr std::uint64_t Entete(TGenreSouple genre, std::uint32_t taille) noexcept
    {
        return std::uint64_t { static_cast<std::uint8_t>(genre) } << 32 | taille;
    }

    // The names of an object's members, in member order, just before its values.
    static const TNomMembre* Noms(const TValeurSouple& objet) noexcept
    {
        const auto* octets = reinterpret_cast<const std::byte*>(objet.enfants_);
        return std::launder(reinterpret_cast<const TNomMembre*>(octets - objet.TailleBrute() * sizeof(TNomMembre)));
    }
};

// Storage for the nodes and texts of one document: blocks handed out in
// order and released together. Blocks stay small enough to come from the
// ordinary heap; a large array or text gets a block of its own.
class TArene {
public:
    void* Allouer(std::size_t octets, std::size_t alignement)
    {
        const std::size_t position = (position_ + alignement - 1) & ~(alignement - 1);
        if (position + octets > tailleBloc_) [[unlikely]]
            return AllouerAilleurs(octets);
        position_ = position + octets;
        return bloc_ + position;
    }

    char16_t* AllouerUnites(std::size_t n)
    {
        return static_cast<char16_t*>(Allouer(n * sizeof(char16_t), alignof(char16_t)));
    }

private:
    static constexpr std::size_t TailleBloc = 64 * 1024;

    // A new block starts at offset 0, which suits every alignment used here.
    void* AllouerAilleurs(std::size_t octets)
    {
        if (octets >= TailleBloc / 4)
            return NouveauBloc(octets);
        bloc_ = NouveauBloc(TailleBloc);
        tailleBloc_ = TailleBloc;
        position_ = octets;
        return bloc_;
    }

    // Blocks are filled from their start: their pages come in at once rather
    // than a fault at a time.
    std::byte* NouveauBloc(std::size_t octets)
    {
        auto bloc = std::make_unique_for_overwrite<std::byte[]>(octets);
        std::byte* debut = bloc.get();
        PreparerPages(debut, octets);
        blocs_.push_back(std::move(bloc));
        return debut;
    }

    std::vector<std::unique_ptr<std::byte[]>> blocs_;
    std::byte* bloc_ = nullptr;
    std::size_t tailleBloc_ = 0;
    std::size_t position_ = 0;
};

struct TDocumentSouple::TDonnees {
    TArene arene;
    TValeurSouple racine;
};

} // namespace tq::json_souple
