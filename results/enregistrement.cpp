#include "results/enregistrement.h"

#include "results/contenu_fichier.h"
#include "results/ecriture_fichier.h"

namespace tq {

void EnregistrerResultats(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    EcrireFichierEntier(chemin, ContenuFichierResultats(reponse));
}

void EnregistrerJson(std::u16string_view reponse, const std::filesystem::path& chemin)
{
    EcrireFichierEntier(chemin, ContenuFichierJson(reponse));
}

} // namespace tq
