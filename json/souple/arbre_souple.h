#pragma once

// Internal to the lenient reader: how values, member names and the
// document's storage are laid out. Not part of the public interface.

#include "json/souple/valeur_souple.h"

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
    for (char16_t c : nom) {
        h = h * 129u + c + 0x9E370001u;
    }
    return h;
}

// Member order: larger hash first, then smaller name first (a prefix before
// the longer name).
inline bool AvantDansObjet(std::uint32_t hachageA, std::u16string_view nomA, std::uint32_t hachageB,
                           std::u16string_view nomB) noexcept
{
    if (hachageA != hachageB) {
        return hachageA > hachageB;
    }
    return nomA < nomB;
}

struct TAccesValeur {
    static TValeurSouple Scalaire(TGenreSouple genre, std::int64_t entier) noexcept
    {
        TValeurSouple v;
        v.m_genre = genre;
        v.m_entier = entier;
        return v;
    }
    static TValeurSouple Flottant(double d) noexcept
    {
        TValeurSouple v;
        v.m_genre = TGenreSouple::Flottant;
        v.m_flottant = d;
        return v;
    }
    static TValeurSouple Texte(const char16_t* texte, std::uint32_t taille) noexcept
    {
        TValeurSouple v;
        v.m_genre = TGenreSouple::Texte;
        v.m_texte = texte;
        v.m_taille = taille;
        return v;
    }
    static TValeurSouple Conteneur(TGenreSouple genre, const TValeurSouple* enfants, std::uint32_t taille) noexcept
    {
        TValeurSouple v;
        v.m_genre = genre;
        v.m_enfants = enfants;
        v.m_taille = taille;
        return v;
    }
    static const TValeurSouple* Enfants(const TValeurSouple& v) noexcept { return v.m_enfants; }
    static std::uint32_t TailleBrute(const TValeurSouple& v) noexcept { return v.m_taille; }

    // The names of an object's members, in member order, just before its values.
    static const TNomMembre* Noms(const TValeurSouple& objet) noexcept
    {
        const auto* octets = reinterpret_cast<const std::byte*>(objet.m_enfants);
        return std::launder(reinterpret_cast<const TNomMembre*>(octets - objet.m_taille * sizeof(TNomMembre)));
    }
};

// Storage for the nodes of one document: large blocks handed out in order
// and released together.
class TArene {
public:
    void* Allouer(std::size_t octets)
    {
        octets = (octets + 15) & ~std::size_t { 15 };
        if (octets > m_reste) {
            if (octets >= m_prochaineTaille / 4) {
                // A large array gets a block of its own; the current block
                // stays in use for the small nodes that follow.
                m_blocs.emplace_back(new std::byte[octets]);
                return m_blocs.back().get();
            }
            NouveauBloc();
        }
        void* p = m_courant;
        m_courant += octets;
        m_reste -= octets;
        return p;
    }

private:
    void NouveauBloc()
    {
        const std::size_t taille = m_prochaineTaille;
        if (m_prochaineTaille < (std::size_t { 1 } << 20)) {
            m_prochaineTaille *= 2;
        }
        m_blocs.emplace_back(new std::byte[taille]);
        m_courant = m_blocs.back().get();
        m_reste = taille;
    }

    std::vector<std::unique_ptr<std::byte[]>> m_blocs;
    std::byte* m_courant = nullptr;
    std::size_t m_reste = 0;
    std::size_t m_prochaineTaille = 4096;
};

struct TDocumentSouple::TDonnees {
    // A copy of the text read, followed by a code unit 0; texts without
    // escapes are views into it, escaped texts are decoded over their own
    // source (a decoded text is never longer than its source).
    std::unique_ptr<char16_t[]> texte;
    TArene arene;
    TValeurSouple racine;
};

} // namespace tq::json_souple
