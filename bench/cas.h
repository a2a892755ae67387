#pragma once

#include <string_view>
#include <vector>

#include "bench/mesure.h"

namespace tq::bench {

// One measured case: loads its input, then runs and times its work.
struct TCas {
    std::string_view nom;
    void (*executer)(const TParametres& parametres, TMesure& mesure);
};

// The cases of each file, gathered by the program.
void AjouterCasJson(std::vector<TCas>& cas);
void AjouterCasHttp(std::vector<TCas>& cas);
void AjouterCasEcriture(std::vector<TCas>& cas);
void AjouterCasBoutEnBout(std::vector<TCas>& cas);

std::vector<TCas> TousLesCas();

} // namespace tq::bench
