#include "server/requete_statistiques.h"

#include "server/csv.h"
#include "server/format_date.h"

#include <string>

namespace tq {

namespace {

constexpr const char* selection =
    "SELECT c.code_tq, c.enseigne, c.ville, COALESCE(SUM(a.controles), 0), COALESCE(SUM(a.contre_visites), 0), "
    "COALESCE(SUM(a.chiffre_affaires), 0) "
    "FROM centre c LEFT JOIN activite a ON a.centre_id = c.id AND a.jour BETWEEN ?1 AND ?2 "
    "GROUP BY c.id ORDER BY c.id";

std::u16string Entier(long long valeur)
{
    const std::string chiffres = std::to_string(valeur);
    return std::u16string(chiffres.begin(), chiffres.end());
}

} // namespace

std::vector<std::u16string> LignesStatistiques(TBase& base, std::chrono::year_month_day debut,
                                               std::chrono::year_month_day fin)
{
    // Days are stored as ISO texts, whose order is the calendar's.
    const TFormatDate iso(u"yyyy-MM-dd");
    TInstruction instruction(base, selection);
    instruction.LierTexte(1, iso.Ecrire(debut));
    instruction.LierTexte(2, iso.Ecrire(fin));

    std::vector<std::u16string> lignes;
    lignes.push_back(LigneCsv({ u"Code TQ", u"Enseigne", u"Ville", u"Contrôles", u"dont contre-visites",
                                u"Chiffre d'affaires HT (€)", u"Montant moyen HT (€)" }));
    while (instruction.Etape()) {
        const long long controles = instruction.Entier(3);
        const long long chiffreAffaires = instruction.Entier(5);
        lignes.push_back(LigneCsv({ instruction.Texte(0), instruction.Texte(1), instruction.Texte(2), Entier(controles),
                                    Entier(instruction.Entier(4)), MontantCsv(chiffreAffaires),
                                    MontantCsv(MoyenneCentimes(chiffreAffaires, controles)) }));
    }
    return lignes;
}

} // namespace tq
