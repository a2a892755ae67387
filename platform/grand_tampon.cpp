#include "platform/grand_tampon.h"

#include <cstdint>

#include <sys/mman.h>

namespace tq {

void ReserverGrandTampon(std::string& tampon, std::size_t taille)
{
    if (tampon.capacity() >= taille)
        return;
    tampon.reserve(taille);
    constexpr std::size_t GrandePage = std::size_t { 2 } << 20;
    if (taille < 4 * GrandePage)
        return;
    const auto adresse = reinterpret_cast<std::uintptr_t>(tampon.data());
    const std::uintptr_t debut = (adresse + GrandePage - 1) & ~(GrandePage - 1);
    const std::uintptr_t fin = (adresse + taille) & ~(GrandePage - 1);
    if (fin > debut)
        madvise(reinterpret_cast<void*>(debut), fin - debut, MADV_HUGEPAGE);
}

} // namespace tq
