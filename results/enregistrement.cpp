#include "results/enregistrement.h"

#include "results/contenu_fichier.h"
#include "platform/grand_tampon.h"
#include "results/fichier_atomique.h"

#include <algorithm>

namespace tq {

void EnregistrerResultats(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    // The answer is read first, so that an unreadable one touches no file;
    // then the lines go to disk a piece at a time, never whole in memory. A
    // piece of 256 KiB makes the calls to the system few and stays in the
    // processor's cache; a small export touches less fresh memory than with
    // a megabyte. Its pages, as far as this answer fills them, come in at
    // once rather than a fault at a time.
    constexpr std::size_t TaillePiece = std::size_t { 256 } << 10;
    TLignesResultats lignes(reponse);
    TFichierAtomique fichier(chemin);
    std::string piece;
    piece.reserve(2 * TaillePiece);
    PreparerPages(piece.data(), std::min(piece.capacity(), reponse.size()));
    while (!lignes.Finies()) {
        piece.clear();
        lignes.AjouterSuivantes(piece, TaillePiece);
        fichier.Ajouter(piece);
    }
    fichier.Valider();
}

void EnregistrerJson(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    TFichierAtomique fichier(chemin);
    fichier.Ajouter(ContenuFichierJson(reponse));
    fichier.Valider();
}

} // namespace tq
