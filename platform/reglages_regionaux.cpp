#include "platform/reglages_regionaux.h"

#include "platform/caracteres.h"
#include "platform/serie_motif.h"

#include <array>
#include <optional>

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

// A short date pattern reduced to what the date text is made of: its three
// number fields in order, with the date separator between two fields that
// the pattern keeps apart.
struct TMotifDate {
    std::u16string motif;
    char16_t separateur = u'/';
};

// A character that can separate the fields of a date: ASCII punctuation and
// blanks, and the no-break spaces. Letters and ideographs of any script
// ("年", "г") are literal text.
bool EstSeparateurPossible(char16_t c)
{
    if (c < 0x80)
        return !EstLettreAscii(c) && !EstChiffreAscii(c) && c != u'\'';
    return c == u'\u00A0' || c == u'\u202F';
}

struct TChampsVus {
    int jours = 0, mois = 0, annees = 0;
};

// The field of the date text a run of one pattern letter stands for, counted
// in `vus`; the empty text for a run that is literal text.
std::u16string ChampDate(char16_t lettre, std::size_t longueur, TChampsVus& vus)
{
    if (lettre == u'd' && longueur <= 2) {
        ++vus.jours;
        return std::u16string(longueur, u'd');
    }
    if (lettre == u'M') {
        ++vus.mois;
        return std::u16string(longueur <= 2 ? longueur : 2, u'M');
    }
    if (lettre == u'y' && longueur >= 2) {
        ++vus.annees;
        return std::u16string(longueur >= 4 ? 4 : 2, u'y');
    }
    return {};
}

// Reads the pattern the way the desktop toolkit writes dates with it: "d" and
// "dd" are the day, "M" and "MM" the month, a month written as a name ("MMM",
// "MMMM") counts as a two-digit month, "yy" is a two-digit year and "yyyy" a
// four-digit one. Quoted text, the weekday's name ("ddd", "dddd") and every
// other letter are literal text, which the date text leaves out. Gives
// nothing unless the day, the month and the year each appear once.
std::optional<TMotifDate> LireMotifDate(std::u16string_view motif)
{
    TMotifDate date;
    bool separateurVu = false;
    // Whether anything stands between the last field and the one to come, and
    // the first character there that can separate them.
    bool ecart = false;
    char16_t candidat = 0;
    TChampsVus vus;
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        if (c == u'\'') {
            // Quoted text up to the next lone quote; "''" is a quote.
            std::size_t fin = i + 1;
            while (fin < motif.size() && motif[fin] != u'\'')
                ++fin;
            i = fin + 1;
            ecart = true;
            continue;
        }
        const std::size_t fin = FinDeSerie(motif, i);
        const std::u16string champ = ChampDate(c, fin - i, vus);
        if (champ.empty()) {
            for (std::size_t j = i; j < fin && candidat == 0; ++j)
                if (EstSeparateurPossible(motif[j]))
                    candidat = motif[j];
            ecart = true;
            i = fin;
            continue;
        }
        if (ecart && !date.motif.empty()) {
            date.motif.push_back(u'/');
            if (!separateurVu && candidat != 0) {
                date.separateur = candidat;
                separateurVu = true;
            }
        }
        date.motif += champ;
        ecart = false;
        candidat = 0;
        i = fin;
    }
    if (vus.jours != 1 || vus.mois != 1 || vus.annees != 1)
        return std::nullopt;
    // The separator positions carry the separator itself, as the settings of a
    // numeric pattern do.
    for (char16_t& c : date.motif)
        if (c == u'/')
            c = date.separateur;
    return date;
}

} // namespace

bool EstFormatDateNumerique(std::u16string_view motif)
{
    int jours = 0, mois = 0, annees = 0;
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        const std::size_t fin = FinDeSerie(motif, i);
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
    if (const std::optional<TMotifDate> date = LireMotifDate(motifDateCourt)) {
        reglages.formatDateCourt = date->motif;
        reglages.separateurDate = date->separateur;
    }
    return reglages;
}

std::u16string TexteDate(std::chrono::year_month_day jour, const TReglagesRegionaux& reglages)
{
    const std::u16string_view motif = reglages.formatDateCourt;
    std::u16string sortie;
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        std::size_t fin = FinDeSerie(motif, i);
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
