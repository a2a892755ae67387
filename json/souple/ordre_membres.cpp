#include "json/souple/ordre_membres.h"

#include <algorithm>
#include <new>

namespace tq::json_souple {

TValeurSouple RangerMembres(const TMembreEnCours* membres, std::size_t lus, TArene& arene,
                            std::vector<std::uint64_t>& cles)
{
    // One 64-bit key per member: the complement of its hash above, its rank
    // of reading below. Sorting the keys orders by hash, largest first,
    // without moving the members themselves.
    cles.clear();
    for (std::size_t i = 0; i < lus; ++i)
        cles.push_back(std::uint64_t { ~membres[i].nom.hachage } << 32 | i);
    std::sort(cles.begin(), cles.end());

    // Equal hashes are rare: within such a run, order by name, and among
    // equal names by rank, so that the last one read comes last.
    auto Rang = [](std::uint64_t cle) { return static_cast<std::uint32_t>(cle); };
    for (std::size_t debut = 0; debut < lus;) {
        std::size_t fin = debut + 1;
        while (fin < lus && (cles[fin] >> 32) == (cles[debut] >> 32))
            ++fin;
        if (fin - debut > 1) {
            std::sort(
                cles.begin() + static_cast<std::ptrdiff_t>(debut), cles.begin() + static_cast<std::ptrdiff_t>(fin),
                [&](std::uint64_t a, std::uint64_t b) {
                    const int ordre = membres[Rang(a)].nom.Vue().compare(membres[Rang(b)].nom.Vue());
                    return ordre != 0 ? ordre < 0 : Rang(a) < Rang(b);
                });
        }
        debut = fin;
    }

    // A name read again replaces the earlier value where it stands.
    std::size_t n = 0;
    for (std::size_t i = 0; i < lus; ++i) {
        const bool remplace = i + 1 < lus && (cles[i] >> 32) == (cles[i + 1] >> 32)
                           && membres[Rang(cles[i])].nom.Vue() == membres[Rang(cles[i + 1])].nom.Vue();
        if (!remplace)
            cles[n++] = cles[i];
    }

    TValeurSouple* valeurs = nullptr;
    if (n > 0) {
        const std::size_t octets = n * (sizeof(TNomMembre) + sizeof(TValeurSouple));
        auto* bloc = static_cast<std::byte*>(arene.Allouer(octets, alignof(TNomMembre)));
        auto* noms = reinterpret_cast<TNomMembre*>(bloc);
        valeurs = reinterpret_cast<TValeurSouple*>(bloc + n * sizeof(TNomMembre));
        for (std::size_t i = 0; i < n; ++i) {
            const TMembreEnCours& membre = membres[Rang(cles[i])];
            ::new (static_cast<void*>(noms + i)) TNomMembre(membre.nom);
            ::new (static_cast<void*>(valeurs + i)) TValeurSouple(membre.valeur);
        }
    }
    return TAccesValeur::Conteneur(TGenreSouple::Objet, valeurs, static_cast<std::uint32_t>(n));
}

} // namespace tq::json_souple
