#include "bench/lignes_resultats.h"

#include <stdexcept>

#include "bench/donnees.h"
#include "platform/texte_utf.h"

namespace tq::bench {

TLignesResultats LireLignesResultats(const TParametres& parametres)
{
    TLignesResultats resultats;
    resultats.texte = DepuisUtf8(LireFichier(FichierResultats(parametres)));
    resultats.document = json_souple::ParseLenientText(resultats.texte);
    if (!resultats.document)
        throw std::runtime_error("the lenient reader rejected the generated answer");
    const json_souple::TValeurSouple* tableau = json_souple::MemberByName(resultats.document->Racine(), u"resultats");
    if (tableau == nullptr)
        throw std::runtime_error("the generated answer has no \"resultats\"");
    resultats.lignes = json_souple::EnumerateElements(*tableau);
    return resultats;
}

} // namespace tq::bench
