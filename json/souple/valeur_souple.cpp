#include "json/souple/valeur_souple.h"

#include "json/souple/arbre_souple.h"
#include "json/souple/ordre_membres.h"

namespace tq::json_souple {

TDocumentSouple::TDocumentSouple(std::unique_ptr<TDonnees> donnees) noexcept
    : donnees_(std::move(donnees))
{
}
TDocumentSouple::TDocumentSouple(TDocumentSouple&&) noexcept = default;
TDocumentSouple& TDocumentSouple::operator=(TDocumentSouple&&) noexcept = default;
TDocumentSouple::~TDocumentSouple() = default;

const TValeurSouple& TDocumentSouple::Racine() const noexcept
{
    // A moved-from document answers with a null value rather than crashing.
    static const TValeurSouple nul;
    return donnees_ ? donnees_->racine : nul;
}

const TValeurSouple* MemberByName(const TValeurSouple& valeur, std::u16string_view nom) noexcept
{
    if (valeur.Genre() != TGenreSouple::Objet)
        return nullptr;
    // Members are sorted by (hash descending, name ascending): a binary
    // search finds the name in logarithmic time even in a large object.
    const TNomMembre* noms = TAccesValeur::Noms(valeur);
    const std::uint32_t hachage = HachageMembre(nom);
    std::size_t bas = 0;
    std::size_t haut = TAccesValeur::TailleBrute(valeur);
    while (bas < haut) {
        const std::size_t milieu = bas + (haut - bas) / 2;
        if (AvantDansObjet(noms[milieu].hachage, noms[milieu].Vue(), hachage, nom))
            bas = milieu + 1;
        else
            haut = milieu;
    }
    if (bas < TAccesValeur::TailleBrute(valeur) && noms[bas].hachage == hachage && noms[bas].Vue() == nom)
        return TAccesValeur::Enfants(valeur) + bas;
    return nullptr;
}

std::span<const TValeurSouple> EnumerateElements(const TValeurSouple& valeur) noexcept
{
    if (valeur.Genre() != TGenreSouple::Tableau && valeur.Genre() != TGenreSouple::Objet)
        return {};
    return { TAccesValeur::Enfants(valeur), TAccesValeur::TailleBrute(valeur) };
}

} // namespace tq::json_souple
