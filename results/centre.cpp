#include "results/centre.h"

namespace tq {

std::vector<std::u16string> LibellesCentres(std::span<const TEnr_Centre> centres)
{
    std::vector<std::u16string> libelles;
    libelles.reserve(centres.size());
    for (const TEnr_Centre& centre : centres)
        libelles.push_back(centre.enseigne);
    return libelles;
}

} // namespace tq
