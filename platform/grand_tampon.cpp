#include "platform/grand_tampon.h"

#include <cstdint>

#include <sys/mman.h>

namespace tq {

void ConseillerGrandesPages(void* debut, std::size_t octets)
{
    constexpr std::uintptr_t GrandePage = std::uintptr_t { 2 } << 20;
    const auto adresse = reinterpret_cast<std::uintptr_t>(debut);
    const std::uintptr_t premiere = (adresse + GrandePage - 1) & ~(GrandePage - 1);
    const std::uintptr_t fin = (adresse + octets) & ~(GrandePage - 1);
    if (fin > premiere)
        madvise(reinterpret_cast<void*>(premiere), fin - premiere, MADV_HUGEPAGE);
}

void ReserverGrandTampon(std::string& tampon, std::size_t taille)
{
    if (tampon.capacity() >= taille)
        return;
    tampon.reserve(taille);
    constexpr std::size_t GrandePage = std::size_t { 2 } << 20;
    if (taille >= 4 * GrandePage)
        ConseillerGrandesPages(tampon.data(), taille);
}

} // namespace tq
