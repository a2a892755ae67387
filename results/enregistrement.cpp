#include "results/enregistrement.h"

#include "results/contenu_fichier.h"
#include "results/fichier_atomique.h"

namespace tq {

void EnregistrerResultats(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    // The answer is read first, so that an unreadable one touches no file;
    // then the lines go to disk a piece at a time, never whole in memory. A
    // piece of 256 KiB makes the calls to the system few and stays in the
    // processor's cache; a small export touches less fresh memory than with
    // a megabyte, each new page of it a fault.
    constexpr std::size_t TaillePiece = std::size_t { 256 } << 10;
    TLignesResultats lignes(reponse);
    TFichierAtomique fichier(chemin);
    std::string piece;
    piece.reserve(2 * TaillePiece);
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
