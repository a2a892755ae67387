#include "bench/donnees.h"

#include <fstream>
#include <stdexcept>

#include "bench/generateur.h"

namespace tq::bench {

namespace fs = std::filesystem;

namespace {

void EcrireSiAbsent(const fs::path& chemin, std::string (*generer)(std::size_t), std::size_t taille)
{
    if (fs::exists(chemin))
        return;
    const std::string octets = generer(taille);
    fs::path temporaire = chemin;
    temporaire += ".tmp";
    {
        std::ofstream fichier(temporaire, std::ios::binary | std::ios::trunc);
        fichier.write(octets.data(), static_cast<std::streamsize>(octets.size()));
        if (!fichier.flush())
            throw std::runtime_error("cannot write " + temporaire.string());
    }
    fs::rename(temporaire, chemin);
}

} // namespace

fs::path FichierResultats(const TParametres& parametres)
{
    return parametres.donnees / ("resultats-" + std::to_string(parametres.lignes) + ".json");
}

fs::path FichierCentres(const TParametres& parametres)
{
    return parametres.donnees / ("centres-" + std::to_string(parametres.centres) + ".json");
}

fs::path FichierSortie(const TParametres& parametres, std::string_view cas)
{
    return parametres.donnees / ("sortie-" + std::string(cas) + ".csv");
}

void PreparerDonnees(const TParametres& parametres)
{
    fs::create_directories(parametres.donnees);
    EcrireSiAbsent(FichierResultats(parametres), ReponseResultats, parametres.lignes);
    EcrireSiAbsent(FichierCentres(parametres), ListeCentres, parametres.centres);
}

std::string LireFichier(const fs::path& chemin)
{
    std::ifstream fichier(chemin, std::ios::binary);
    if (!fichier)
        throw std::runtime_error("cannot read " + chemin.string());
    std::string octets(static_cast<std::size_t>(fs::file_size(chemin)), '\0');
    fichier.read(octets.data(), static_cast<std::streamsize>(octets.size()));
    return octets;
}

std::string UrlServeur(const TParametres& parametres, std::string_view chemin)
{
    return "http://127.0.0.1:" + std::to_string(parametres.port) + std::string(chemin);
}

} // namespace tq::bench
