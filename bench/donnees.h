#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "bench/mesure.h"

namespace tq::bench {

// The generated answers, named by their size so that a quick run and a full
// run keep their own.
std::filesystem::path FichierResultats(const TParametres& parametres);
std::filesystem::path FichierCentres(const TParametres& parametres);

// The file a case writes its output to, so the table can compare them.
std::filesystem::path FichierSortie(const TParametres& parametres, std::string_view cas);

// Generates the answers that are missing. Each is written under a temporary
// name and renamed, so an interrupted run never leaves a partial answer.
void PreparerDonnees(const TParametres& parametres);

std::string LireFichier(const std::filesystem::path& chemin);

// The server's address for one of its answers (see serveur_bench.h).
std::string UrlServeur(const TParametres& parametres, std::string_view chemin);

} // namespace tq::bench
