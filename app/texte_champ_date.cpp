#include "app/texte_champ_date.h"

#include "platform/caracteres.h"
#include "platform/serie_motif.h"

#include <array>

namespace tq {

namespace {

using namespace std::chrono;

bool EstBlanc(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u00A0';
}

// The order of the three fields in the short date pattern, as the letters
// 'd', 'M' and 'y'. Only numeric patterns reach the settings, so each letter
// appears in exactly one run.
std::array<char16_t, 3> OrdreDesChamps(std::u16string_view motif)
{
    std::array<char16_t, 3> ordre { u'M', u'd', u'y' };
    std::size_t n = 0;
    char16_t precedent = 0;
    for (char16_t c : motif) {
        if ((c == u'd' || c == u'M' || c == u'y') && c != precedent && n < ordre.size())
            ordre[n++] = c;
        precedent = c;
    }
    return ordre;
}

bool EstSeparateurAdmis(char16_t c, char16_t separateurDate)
{
    return c == separateurDate || c == u'/' || c == u'.' || c == u'-';
}

// Two-digit years land in the hundred years that start fifty years before
// the current one, so "19" is 2019 and, in 2025, "75" is 1975 and "74" 2074.
int AnneeSurQuatreChiffres(int annee, year anneeCourante)
{
    const int debutFenetre = static_cast<int>(anneeCourante) - 50;
    int complete = annee + debutFenetre / 100 * 100;
    if (complete < debutFenetre)
        complete += 100;
    return complete;
}

// The pattern a date field shows: the user's short date order with a
// two-digit day and month, and the year on four digits only when the short
// date format writes it with four ("M/d/yy" gives "MM/dd/yy").
std::u16string MotifChampDate(const TReglagesRegionaux& reglages)
{
    const std::u16string_view motif = reglages.formatDateCourt;
    std::u16string sortie;
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        const std::size_t fin = FinDeSerie(motif, i);
        if (c == u'd')
            sortie += u"dd";
        else if (c == u'M')
            sortie += u"MM";
        else if (c == u'y')
            sortie += fin - i >= 4 ? u"yyyy" : u"yy";
        else
            sortie.append(motif.substr(i, fin - i));
        i = fin;
    }
    return sortie;
}

} // namespace

std::u16string TexteChampDate(year_month_day jour, const TReglagesRegionaux& reglages)
{
    if (jour == JourZero || !jour.ok() || jour.year() < year { 1 } || jour.year() > year { 9999 })
        return {};
    TReglagesRegionaux affichage = reglages;
    affichage.formatDateCourt = MotifChampDate(reglages);
    return TexteDate(jour, affichage);
}

year_month_day LireChampDate(std::u16string_view texte, const TReglagesRegionaux& reglages, year anneeCourante)
{
    while (!texte.empty() && EstBlanc(texte.front()))
        texte.remove_prefix(1);
    while (!texte.empty() && EstBlanc(texte.back()))
        texte.remove_suffix(1);

    // Three digit groups, exactly one separator between two of them.
    std::array<int, 3> valeurs {};
    std::array<std::size_t, 3> chiffres {};
    std::size_t i = 0;
    for (std::size_t champ = 0; champ < valeurs.size(); ++champ) {
        if (champ > 0) {
            if (i >= texte.size() || !EstSeparateurAdmis(texte[i], reglages.separateurDate))
                return JourZero;
            ++i;
        }
        while (i < texte.size() && EstChiffreAscii(texte[i]) && chiffres[champ] < 5) {
            valeurs[champ] = valeurs[champ] * 10 + (texte[i] - u'0');
            ++chiffres[champ];
            ++i;
        }
        if (chiffres[champ] == 0)
            return JourZero;
    }
    if (i != texte.size())
        return JourZero;

    const std::array<char16_t, 3> ordre = OrdreDesChamps(reglages.formatDateCourt);
    int jour = 0, mois = 0, annee = 0;
    for (std::size_t champ = 0; champ < ordre.size(); ++champ) {
        const bool tropLong = ordre[champ] == u'y' ? chiffres[champ] > 4 : chiffres[champ] > 2;
        if (tropLong)
            return JourZero;
        if (ordre[champ] == u'd')
            jour = valeurs[champ];
        else if (ordre[champ] == u'M')
            mois = valeurs[champ];
        else
            annee = chiffres[champ] <= 2 ? AnneeSurQuatreChiffres(valeurs[champ], anneeCourante) : valeurs[champ];
    }
    const year_month_day lu { year { annee }, month { static_cast<unsigned>(mois) },
                              day { static_cast<unsigned>(jour) } };
    if (!lu.ok() || annee < 1 || annee > 9999)
        return JourZero;
    return lu;
}

std::array<TNombreChampDate, 3> NombresChampDate(const TReglagesRegionaux& reglages)
{
    const std::array<char16_t, 3> ordre = OrdreDesChamps(reglages.formatDateCourt);
    const std::u16string motif = MotifChampDate(reglages);
    std::array<TNombreChampDate, 3> nombres {};
    for (std::size_t i = 0; i < ordre.size(); ++i) {
        const std::size_t debut = motif.find(ordre[i]);
        nombres[i] = { ordre[i], debut == std::u16string::npos ? 2 : FinDeSerie(motif, debut) - debut };
    }
    return nombres;
}

} // namespace tq
