#include "bench/cas.h"

namespace tq::bench {

std::vector<TCas> TousLesCas()
{
    std::vector<TCas> cas;
    AjouterCasJson(cas);
    AjouterCasHttp(cas);
    AjouterCasEcriture(cas);
    AjouterCasBoutEnBout(cas);
    return cas;
}

} // namespace tq::bench
