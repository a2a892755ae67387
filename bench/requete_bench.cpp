#include "bench/requete_bench.h"

#include "platform/encodage_ansi.h"
#include "query/requete.h"

namespace tq::bench {

namespace {

TReglagesRegionaux ReglagesFrancais()
{
    TReglagesRegionaux reglages;
    reglages.formatDateCourt = u"dd/MM/yyyy";
    reglages.separateurDecimal = u',';
    return reglages;
}

} // namespace

std::u16string RequeteStatistiques()
{
    using namespace std::chrono;
    const TPeriode mars { year { 2024 } / March / day { 1 }, year { 2024 } / March / day { 31 } };
    return ConstruireRequete(TTypeRequete::StatistiquesPeriode, mars, ReglagesFrancais());
}

std::u16string RequeteCentres()
{
    return ConstruireRequete(TTypeRequete::ListeCentres, {}, ReglagesFrancais());
}

std::string CorpsRequete(const std::u16string& requete)
{
    return VersAnsi(requete);
}

std::size_t UnitesUtf16(std::string_view utf8)
{
    std::size_t unites = 0;
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        unites += (b & 0xC0) != 0x80;
        unites += b >= 0xF0;
    }
    return unites;
}

} // namespace tq::bench
