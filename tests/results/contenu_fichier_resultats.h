#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "results/contenu_fichier.h"

// The whole content of the result file that EnregistrerResultats writes for
// `reponse`, built in memory in one piece. Throws ErreurReponseIllisible as
// the save does.
inline std::string ContenuFichierResultats(std::u16string_view reponse)
{
    tq::TLignesResultats lignes(reponse);
    std::string contenu;
    lignes.AjouterSuivantes(contenu, std::numeric_limits<std::size_t>::max());
    return contenu;
}
