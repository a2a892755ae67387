#include "query/requete.h"

namespace tq {

namespace {

void AjouterEntier(std::u16string& sortie, int valeur)
{
    for (char c : std::to_string(valeur))
        sortie.push_back(static_cast<char16_t>(c));
}

// The date text goes between quotation marks. A locale's separator is
// normally "/", "." or "-", but whatever it is must not break the document,
// so the characters JSON reserves are escaped; an ordinary date is unchanged.
void AjouterChaineJson(std::u16string& sortie, std::u16string_view texte)
{
    static constexpr char16_t hex[] = u"0123456789abcdef";
    for (char16_t c : texte) {
        if (c == u'"' || c == u'\\') {
            sortie.push_back(u'\\');
            sortie.push_back(c);
        } else if (c < 0x20) {
            sortie.append(u"\\u00");
            sortie.push_back(hex[c >> 4]);
            sortie.push_back(hex[c & 0xF]);
        } else {
            sortie.push_back(c);
        }
    }
}

} // namespace

std::u16string ConstruireRequete(TTypeRequete type, const TPeriode& periode, const TReglagesRegionaux& reglages)
{
    const int numeroType = type == TTypeRequete::ListeCentres ? 4 : 100;
    const int requeteId = type == TTypeRequete::ListeAcces ? 2 : 1;

    std::u16string texte;
    texte.reserve(200);
    texte.append(u"{\"type\":");
    AjouterEntier(texte, numeroType);
    texte.append(u",\"centre\":[],\"groupe\":[],\"requeteId\":");
    AjouterEntier(texte, requeteId);
    texte.append(u",\"requetSql\": null,\"id\":0,\"libelle\":null,");
    if (type == TTypeRequete::StatistiquesPeriode) {
        texte.append(u"\"periode1Debut\":\"");
        AjouterChaineJson(texte, TexteDate(periode.debut, reglages));
        texte.append(u"\",\"periode1Fin\":\"");
        AjouterChaineJson(texte, TexteDate(periode.fin, reglages));
        texte.append(u"\",");
    } else {
        texte.append(u"\"periode1Debut\":null,\"periode1Fin\":null,");
    }
    texte.append(u"\"periode2Debut\":null,\"periode2Fin\":null}");
    return texte;
}

std::chrono::year_month_day PremierJourDuMois(std::chrono::year_month_day jour)
{
    return jour.year() / jour.month() / std::chrono::day { 1 };
}

std::chrono::year_month_day DernierJourDuMois(std::chrono::year_month_day jour)
{
    const std::chrono::year_month_day_last dernier { jour.year(), std::chrono::month_day_last { jour.month() } };
    return std::chrono::year_month_day { dernier };
}

} // namespace tq
