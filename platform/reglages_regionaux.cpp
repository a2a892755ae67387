#include "platform/reglages_regionaux.h"

#include "platform/caracteres.h"

#include <array>

namespace tq {

namespace {

void AjouterNombre(std::u16string& sortie, unsigned valeur, int chiffresMinimum)
{
    std::array<char16_t, 12> chiffres {};
    int n = 0;
    do {
        chiffres[static_cast<std::size_t>(n++)] = static_cast<char16_t>(u'0' + valeur % 10);
        valeur /= 10;
    } while (valeur != 0);
    for (int i = n; i < chiffresMinimum; ++i)
        sortie.push_back(u'0');
    while (n > 0)
        sortie.push_back(chiffres[static_cast<std::size_t>(--n)]);
}

} // namespace

bool EstFormatDateNumerique(std::u16string_view motif)
{
    int jours = 0, mois = 0, annees = 0;
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        std::size_t fin = i;
        while (fin < motif.size() && motif[fin] == c)
            ++fin;
        const std::size_t longueur = fin - i;
        if (c == u'd') {
            if (longueur > 2)
                return false;
            ++jours;
        } else if (c == u'M') {
            if (longueur > 2)
                return false;
            ++mois;
        } else if (c == u'y') {
            if (longueur != 2 && longueur != 4)
                return false;
            ++annees;
        } else if (EstLettreAscii(c) || c == u'\'') {
            return false;
        }
        i = fin;
    }
    return jours == 1 && mois == 1 && annees == 1;
}

TReglagesRegionaux ReglagesDepuisLocale(std::u16string_view motifDateCourt, char16_t separateurHeure,
                                        char16_t separateurDecimal)
{
    TReglagesRegionaux reglages;
    reglages.separateurHeure = separateurHeure;
    reglages.separateurDecimal = separateurDecimal;
    if (!EstFormatDateNumerique(motifDateCourt))
        return reglages;
    reglages.formatDateCourt = std::u16string(motifDateCourt);
    for (char16_t c : motifDateCourt) {
        if (!EstLettreAscii(c)) {
            reglages.separateurDate = c;
            break;
        }
    }
    return reglages;
}

std::u16string TexteDate(std::chrono::year_month_day jour, const TReglagesRegionaux& reglages)
{
    const std::u16string_view motif = reglages.formatDateCourt;
    std::u16string sortie;
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        std::size_t fin = i;
        while (fin < motif.size() && motif[fin] == c)
            ++fin;
        const int longueur = static_cast<int>(fin - i);
        if (c == u'd') {
            AjouterNombre(sortie, static_cast<unsigned>(jour.day()), longueur >= 2 ? 2 : 1);
        } else if (c == u'M') {
            AjouterNombre(sortie, static_cast<unsigned>(jour.month()), longueur >= 2 ? 2 : 1);
        } else if (c == u'y') {
            const int annee = static_cast<int>(jour.year());
            if (longueur <= 2)
                AjouterNombre(sortie, static_cast<unsigned>(annee % 100), 2);
            else
                AjouterNombre(sortie, static_cast<unsigned>(annee), 4);
        } else {
            // A run of non-letters ("/", ".", ". ") is one separator position.
            while (fin < motif.size() && !EstLettreAscii(motif[fin]))
                ++fin;
            sortie.push_back(reglages.separateurDate);
        }
        i = fin;
    }
    return sortie;
}

std::u16string TexteHorodatage(std::chrono::hh_mm_ss<std::chrono::milliseconds> heure,
                               const TReglagesRegionaux& reglages)
{
    std::u16string sortie;
    sortie.reserve(12);
    AjouterNombre(sortie, static_cast<unsigned>(heure.hours().count()), 2);
    sortie.push_back(reglages.separateurHeure);
    AjouterNombre(sortie, static_cast<unsigned>(heure.minutes().count()), 2);
    sortie.push_back(reglages.separateurHeure);
    AjouterNombre(sortie, static_cast<unsigned>(heure.seconds().count()), 2);
    sortie.push_back(u'.');
    AjouterNombre(sortie, static_cast<unsigned>(heure.subseconds().count()), 3);
    return sortie;
}

} // namespace tq
