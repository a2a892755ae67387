#include "platform/encodage_ansi.h"

#include "platform/meilleur_ajustement.h"

#include <cstdint>
#include <cstring>

#include <sys/mman.h>

namespace tq {

namespace {

// A result file can run to tens of megabytes. Fresh memory of that size costs
// a page fault every 4 KiB when it is first written, more than the conversion
// itself; asking for huge pages takes that cost away where the system offers
// them, and changes nothing where it does not.
void ReserverGrandTampon(std::string& sortie, std::size_t taille)
{
    constexpr std::size_t GrandePage = std::size_t { 2 } << 20;
    if (taille < 4 * GrandePage || sortie.capacity() >= taille)
        return;
    sortie.reserve(taille);
    const auto adresse = reinterpret_cast<std::uintptr_t>(sortie.data());
    const std::uintptr_t debut = (adresse + GrandePage - 1) & ~(GrandePage - 1);
    const std::uintptr_t fin = (adresse + taille) & ~(GrandePage - 1);
    if (fin > debut)
        madvise(reinterpret_cast<void*>(debut), fin - debut, MADV_HUGEPAGE);
}

bool EstSubstitutBas(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// One pass over the text: each code unit is one table look-up and, nearly
// always, one byte stored in place. The output is sized for one byte per code
// unit up front; only a character that gives several bytes or none takes the
// slower road, which resizes the buffer around it.
void Encoder(const TTableEncodage& table, std::string& sortie, std::u16string_view texte)
{
    const std::size_t debut = sortie.size();
    ReserverGrandTampon(sortie, debut + texte.size());
    sortie.resize(debut + texte.size());
    char* ecrit = sortie.data() + debut;
    const char16_t* lu = texte.data();
    const char16_t* const fin = lu + texte.size();
    while (lu < fin) {
        // Runs of ASCII, the bulk of any result file, go four code units at a time.
        if (fin - lu >= 4) {
            std::uint64_t quatre;
            std::memcpy(&quatre, lu, sizeof quatre);
            if ((quatre & 0xFF80FF80FF80FF80u) == 0) {
                ecrit[0] = static_cast<char>(lu[0]);
                ecrit[1] = static_cast<char>(lu[1]);
                ecrit[2] = static_cast<char>(lu[2]);
                ecrit[3] = static_cast<char>(lu[3]);
                ecrit += 4;
                lu += 4;
                continue;
            }
        }
        const std::uint16_t code = table.code[*lu++];
        if (code < TTableEncodage::PremiereSuite) {
            *ecrit++ = static_cast<char>(code);
            continue;
        }
        std::string_view suite = "?";
        if (code == TTableEncodage::SubstitutHaut) {
            // A character beyond the first plane is one character: one "?".
            if (lu < fin && EstSubstitutBas(*lu))
                ++lu;
        } else {
            suite = table.suites[code - TTableEncodage::PremiereSuite];
        }
        const std::size_t position = static_cast<std::size_t>(ecrit - sortie.data());
        const std::size_t reste = static_cast<std::size_t>(fin - lu);
        sortie.resize(position + suite.size() + reste);
        ecrit = sortie.data() + position;
        for (char octet : suite)
            *ecrit++ = octet;
    }
    sortie.resize(static_cast<std::size_t>(ecrit - sortie.data()));
}

} // namespace

void AjouterEnAnsi(std::string& sortie, std::u16string_view texte) { Encoder(TableAnsi(), sortie, texte); }

std::string VersAnsi(std::u16string_view texte)
{
    std::string sortie;
    Encoder(TableAnsi(), sortie, texte);
    return sortie;
}

std::string ReductionAscii(std::u16string_view texte)
{
    std::string sortie;
    Encoder(TableAscii(), sortie, texte);
    return sortie;
}

} // namespace tq
