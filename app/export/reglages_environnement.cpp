#include "app/export/reglages_environnement.h"

#include "platform/reglages_locale.h"

namespace tq {

namespace {

const std::string& PremiereDefinie(const std::string& a, const std::string& b, const std::string& c)
{
    static const std::string localeC = "C";
    return !a.empty() ? a : !b.empty() ? b : !c.empty() ? c : localeC;
}

} // namespace

TReglagesRegionaux ReglagesDeLEnvironnement(const TVariablesLocale& variables)
{
    return ReglagesDesLocales(PremiereDefinie(variables.lcAll, variables.lcTime, variables.lang),
                              PremiereDefinie(variables.lcAll, variables.lcNumeric, variables.lang));
}

} // namespace tq
