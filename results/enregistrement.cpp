#include "results/enregistrement.h"

#include "results/contenu_fichier.h"
#include "results/ecriture_fichier.h"

namespace tq {

void EnregistrerResultats(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    // The answer is read first, so that an unreadable one touches no file;
    // then the lines go to disk a piece at a time, never whole in memory.
    const TLignesResultats lignes(reponse);
    EcrireFichierEntier(chemin, [&lignes](TSortieFichier& sortie) {
        lignes.Ajouter(sortie.Tampon(), [&sortie] { sortie.Avancer(); });
    });
}

void EnregistrerJson(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    EcrireFichierEntier(chemin, ContenuFichierJson(reponse));
}

} // namespace tq
