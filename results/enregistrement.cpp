#include "results/enregistrement.h"

#include "results/contenu_fichier.h"
#include "results/fichier_atomique.h"

namespace tq {

void EnregistrerResultats(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    // The answer is read first, so that an unreadable one touches no file;
    // then the lines go to disk a piece at a time, never whole in memory. A
    // piece of a megabyte makes the calls to the system few and stays in the
    // processor's cache.
    constexpr std::size_t TaillePiece = std::size_t { 1 } << 20;
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
