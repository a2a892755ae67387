#include "platform/grand_tampon.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace tq {

// Transparent huge pages are asked for with madvise, which only Linux has;
// elsewhere the memory keeps the system's ordinary pages.
void ConseillerGrandesPages([[maybe_unused]] void* debut, [[maybe_unused]] std::size_t octets)
{
#if defined(__linux__)
    constexpr std::uintptr_t GrandePage = std::uintptr_t { 2 } << 20;
    const auto adresse = reinterpret_cast<std::uintptr_t>(debut);
    const std::uintptr_t premiere = (adresse + GrandePage - 1) & ~(GrandePage - 1);
    const std::uintptr_t fin = (adresse + octets) & ~(GrandePage - 1);
    if (fin > premiere)
        madvise(reinterpret_cast<void*>(premiere), fin - premiere, MADV_HUGEPAGE);
#endif
}

bool PreparerPages([[maybe_unused]] void* debut, [[maybe_unused]] std::size_t octets)
{
#if defined(__linux__)
    // Linux 5.14 and later; the value is fixed by the kernel's interface.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto adresse = reinterpret_cast<std::uintptr_t>(debut);
    const std::uintptr_t premiere = (adresse + page - 1) & ~(page - 1);
    const std::uintptr_t fin = (adresse + octets) & ~(page - 1);
    if (fin <= premiere)
        return false;
    return madvise(reinterpret_cast<void*>(premiere), fin - premiere, MADV_POPULATE_WRITE) == 0;
#else
    return false;
#endif
}

namespace {

// Below this size huge pages are not asked for: a buffer that holds few of
// them gains little and may hold none.
constexpr std::size_t TailleGrandesPagesMin = std::size_t { 8 } << 20;

// Reserves room for `unites` elements and asks for huge pages over it when it
// spans several of them.
template <class TChaine> void ReserverGrandeChaine(TChaine& chaine, std::size_t unites)
{
    if (chaine.capacity() >= unites)
        return;
    chaine.reserve(unites);
    const std::size_t octets = unites * sizeof(typename TChaine::value_type);
    if (octets >= TailleGrandesPagesMin)
        ConseillerGrandesPages(chaine.data(), octets);
}

} // namespace

void ReserverGrandTampon(std::string& tampon, std::size_t taille)
{
    ReserverGrandeChaine(tampon, taille);
}

void ReserverGrandTexte(std::u16string& texte, std::size_t unites)
{
    ReserverGrandeChaine(texte, unites);
}

std::unique_ptr<char[]> NouveauGrandTampon(std::size_t taille)
{
    std::unique_ptr<char[]> tampon(new char[taille]);
    if (taille >= TailleGrandesPagesMin)
        ConseillerGrandesPages(tampon.get(), taille);
    return tampon;
}

} // namespace tq
