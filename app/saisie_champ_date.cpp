#include "app/saisie_champ_date.h"

#include <algorithm>
#include <vector>

#include "app/texte_champ_date.h"
#include "platform/caracteres.h"

namespace tq {

namespace {

using namespace std::chrono;

struct TNombre {
    std::size_t debut;
    std::size_t fin;
};

// The runs of digits of the text, at most the three a date has.
std::vector<TNombre> Nombres(std::u16string_view texte)
{
    std::vector<TNombre> nombres;
    for (std::size_t i = 0; i < texte.size() && nombres.size() < 3;) {
        if (texte[i] < u'0' || texte[i] > u'9') {
            ++i;
            continue;
        }
        const std::size_t debut = i;
        while (i < texte.size() && EstChiffreAscii(texte[i]))
            ++i;
        nombres.push_back({ debut, i });
    }
    return nombres;
}

// The number that holds the whole selection, if any.
std::optional<std::size_t> NombreDeLaSelection(const std::vector<TNombre>& nombres, const TSaisieDate& saisie)
{
    for (std::size_t i = 0; i < nombres.size(); ++i)
        if (nombres[i].debut <= saisie.debut && saisie.fin <= nombres[i].fin)
            return i;
    return std::nullopt;
}

TSaisieDate AvecSelection(std::u16string texte, std::size_t indice)
{
    const std::vector<TNombre> nombres = Nombres(texte);
    return { std::move(texte), nombres[indice].debut, nombres[indice].fin };
}

bool EstSeparateur(char16_t c, const TReglagesRegionaux& reglages)
{
    return c == reglages.separateurDate || c == u'/' || c == u'.' || c == u'-';
}

// `valeur` stepped by `pas` within 1 to `dernier`, going round at both ends.
int Tourner(int valeur, int pas, int dernier)
{
    return (valeur - 1 + pas + dernier) % dernier + 1;
}

int DernierJour(int annee, int mois)
{
    return static_cast<int>(
        static_cast<unsigned>((year { annee } / month { static_cast<unsigned>(mois) } / last).day()));
}

year_month_day JourChange(year_month_day jour, char16_t partie, int pas)
{
    int annee = static_cast<int>(jour.year());
    int mois = static_cast<int>(static_cast<unsigned>(jour.month()));
    int j = static_cast<int>(static_cast<unsigned>(jour.day()));
    if (partie == u'd')
        j = Tourner(j, pas, DernierJour(annee, mois));
    else if (partie == u'M')
        mois = Tourner(mois, pas, 12);
    else
        annee = std::clamp(annee + pas, 1, 9999);
    j = std::min(j, DernierJour(annee, mois));
    return year { annee } / month { static_cast<unsigned>(mois) } / day { static_cast<unsigned>(j) };
}

} // namespace

std::optional<TSaisieDate> TaperChiffre(const TSaisieDate& saisie, char16_t chiffre, const TReglagesRegionaux& reglages)
{
    const std::vector<TNombre> nombres = Nombres(saisie.texte);
    const std::optional<std::size_t> indice = NombreDeLaSelection(nombres, saisie);
    if (!indice)
        return std::nullopt;
    const std::size_t largeur = NombresChampDate(reglages)[*indice].chiffres;
    const std::size_t chiffres = nombres[*indice].fin - nombres[*indice].debut;
    if (saisie.debut == saisie.fin && chiffres >= largeur)
        return std::nullopt;

    std::u16string texte = saisie.texte;
    texte.replace(saisie.debut, saisie.fin - saisie.debut, 1, chiffre);
    if (chiffres - (saisie.fin - saisie.debut) + 1 >= largeur && *indice + 1 < nombres.size())
        return AvecSelection(std::move(texte), *indice + 1);
    return TSaisieDate { std::move(texte), saisie.debut + 1, saisie.debut + 1 };
}

std::optional<TSaisieDate> TaperSeparateur(const TSaisieDate& saisie, char16_t separateur,
                                           const TReglagesRegionaux& reglages)
{
    if (!EstSeparateur(separateur, reglages))
        return std::nullopt;
    const std::vector<TNombre> nombres = Nombres(saisie.texte);
    const std::optional<std::size_t> indice = NombreDeLaSelection(nombres, saisie);
    if (!indice)
        return std::nullopt;
    // After the year nothing is left to move on to.
    if ((saisie.debut == nombres[*indice].debut && saisie.fin == nombres[*indice].fin) || *indice == 2)
        return saisie;
    if (*indice + 1 < nombres.size())
        return AvecSelection(saisie.texte, *indice + 1);
    return std::nullopt;
}

std::optional<TSaisieDate> ChangerNombre(const TSaisieDate& saisie, int pas, const TReglagesRegionaux& reglages,
                                         year anneeCourante)
{
    const year_month_day jour = LireChampDate(saisie.texte, reglages, anneeCourante);
    if (jour == JourZero)
        return std::nullopt;
    const std::vector<TNombre> nombres = Nombres(saisie.texte);
    std::size_t indice = 0;
    while (indice + 1 < nombres.size() && nombres[indice + 1].debut <= saisie.debut)
        ++indice;
    const year_month_day change = JourChange(jour, NombresChampDate(reglages)[indice].partie, pas);
    return AvecSelection(TexteChampDate(change, reglages), indice);
}

std::optional<TSaisieDate> SelectionnerNombre(const std::u16string& texte, TBoutChamp bout)
{
    const std::vector<TNombre> nombres = Nombres(texte);
    if (nombres.empty())
        return std::nullopt;
    return AvecSelection(texte, bout == TBoutChamp::Premier ? 0 : nombres.size() - 1);
}

} // namespace tq
