#include "server/requete_acces.h"

#include "server/csv.h"
#include "server/erreurs_serveur.h"

namespace tq {

namespace {

constexpr const char* selection = "SELECT a.horodatage, a.utilisateur, c.enseigne, a.adresse_ip "
                                  "FROM acces a LEFT JOIN centre c ON c.id = a.centre_id "
                                  "ORDER BY a.horodatage DESC, a.id DESC";

} // namespace

std::vector<std::u16string> LignesAcces(TBase& base, const TFormatDate& format)
{
    const TFormatDate iso(u"yyyy-MM-dd");
    TInstruction instruction(base, selection);

    std::vector<std::u16string> lignes;
    lignes.push_back(LigneCsv({ u"Date", u"Heure", u"Utilisateur", u"Centre", u"Adresse IP" }));
    while (instruction.Etape()) {
        // The time stamp is stored as "yyyy-mm-dd hh:mm:ss".
        const std::u16string horodatage = instruction.Texte(0);
        constexpr std::size_t longueurDate = 10;
        if (horodatage.size() != longueurDate + 9 || horodatage[longueurDate] != u' ')
            throw ErreurBase("Erreur de la base de données : horodatage d'accès incorrect.");
        std::chrono::year_month_day jour;
        try {
            jour = iso.Lire(std::u16string_view(horodatage).substr(0, longueurDate));
        } catch (const ErreurRequete&) {
            throw ErreurBase("Erreur de la base de données : horodatage d'accès incorrect.");
        }
        const std::u16string centre = instruction.EstNul(2) ? u"Siège" : instruction.Texte(2);
        lignes.push_back(LigneCsv({ format.Ecrire(jour), horodatage.substr(longueurDate + 1), instruction.Texte(1),
                                    centre, instruction.Texte(3) }));
    }
    return lignes;
}

} // namespace tq
