#include "app/export/reglages_environnement.h"
#include "app/export/reglages_systeme.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tq {

namespace {

std::string Variable(const char* nom)
{
    const char* valeur = std::getenv(nom);
    return valeur == nullptr ? std::string() : std::string(valeur);
}

} // namespace

TReglagesRegionaux ReglagesSysteme()
{
    return ReglagesDeLEnvironnement(
        { Variable("LC_ALL"), Variable("LC_TIME"), Variable("LC_NUMERIC"), Variable("LANG") });
}

std::string HorodatageLocal()
{
    timespec maintenant {};
    clock_gettime(CLOCK_REALTIME, &maintenant);
    tm local {};
    localtime_r(&maintenant.tv_sec, &local);
    char texte[64];
    std::snprintf(texte, sizeof texte, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(maintenant.tv_nsec / 1'000'000));
    return texte;
}

} // namespace tq
