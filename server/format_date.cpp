#include "server/format_date.h"

#include "platform/caracteres.h"
#include "platform/motif_date_locale.h"
#include "platform/reglages_regionaux.h"
#include "platform/texte_utf.h"
#include "server/erreurs_serveur.h"

#include <array>
#include <cstdlib>
#include <optional>

namespace tq {

namespace {

// The date as it will be quoted in the answer: no control character, and
// short enough for one line of the client's log.
std::string TexteCite(std::u16string_view texte)
{
    constexpr std::size_t longueurMaximale = 40;
    std::u16string cite;
    for (const char16_t c : texte.substr(0, longueurMaximale))
        cite.push_back(c < 0x20 || c == 0x7F ? u'?' : c);
    if (texte.size() > longueurMaximale)
        cite += u"…";
    return VersUtf8(cite);
}

void AjouterNombre(std::u16string& texte, int valeur, int chiffresMinimum)
{
    std::u16string chiffres;
    do {
        chiffres.insert(chiffres.begin(), static_cast<char16_t>(u'0' + valeur % 10));
        valeur /= 10;
    } while (valeur > 0);
    while (chiffres.size() < static_cast<std::size_t>(chiffresMinimum))
        chiffres.insert(chiffres.begin(), u'0');
    texte += chiffres;
}

// Two-digit years fall in 1950 to 2049.
int AnneeSurQuatreChiffres(int valeur, std::size_t chiffres)
{
    if (chiffres != 2)
        return valeur;
    return valeur < 50 ? 2000 + valeur : 1900 + valeur;
}

std::optional<std::chrono::year_month_day> Jour(int annee, int mois, int jour)
{
    const std::chrono::year_month_day date { std::chrono::year { annee },
                                             std::chrono::month { static_cast<unsigned>(mois) },
                                             std::chrono::day { static_cast<unsigned>(jour) } };
    if (!date.ok() || annee < 1)
        return std::nullopt;
    return date;
}

// One run of digits: its value and its length.
struct TNombre {
    int valeur = 0;
    std::size_t chiffres = 0;
};

// Three runs of at most four digits, split by one character that is neither
// a digit, a letter nor a control character, the same both times.
std::optional<std::array<TNombre, 3>> TroisNombres(std::u16string_view texte)
{
    std::array<TNombre, 3> nombres;
    std::size_t position = 0;
    char16_t separateur = 0;
    for (std::size_t n = 0; n < nombres.size(); ++n) {
        if (n > 0) {
            if (position >= texte.size() || EstLettreAscii(texte[position]) || texte[position] < 0x20
                || (n == 2 && texte[position] != separateur))
                return std::nullopt;
            separateur = texte[position++];
        }
        while (position < texte.size() && EstChiffreAscii(texte[position]) && nombres[n].chiffres < 5) {
            nombres[n].valeur = nombres[n].valeur * 10 + (texte[position++] - u'0');
            ++nombres[n].chiffres;
        }
        if (nombres[n].chiffres == 0 || nombres[n].chiffres > 4)
            return std::nullopt;
    }
    if (position != texte.size())
        return std::nullopt;
    return nombres;
}

[[noreturn]] void RefuserMotif(std::u16string_view motif, const char* raison)
{
    throw Erreur("Format de date incorrect : « " + VersUtf8(motif) + " » (" + raison + ").");
}

} // namespace

TFormatDate::TFormatDate(std::u16string_view motif)
    : motif_(motif)
{
    bool vus[3] = { false, false, false };
    for (std::size_t i = 0; i < motif.size();) {
        const char16_t c = motif[i];
        if (!EstLettreAscii(c)) {
            elements_.push_back({ TChamp::Litteral, 1, c });
            ++i;
            continue;
        }
        std::size_t fin = i;
        while (fin < motif.size() && motif[fin] == c)
            ++fin;
        const int largeur = static_cast<int>(fin - i);
        TChamp champ = TChamp::Litteral;
        if (c == u'd')
            champ = TChamp::Jour;
        else if (c == u'M')
            champ = TChamp::Mois;
        else if (c == u'y')
            champ = TChamp::Annee;
        else
            RefuserMotif(motif, "seules les lettres d, M et y sont permises");
        bool& vu = vus[static_cast<int>(champ)];
        if (vu)
            RefuserMotif(motif, "un champ y figure deux fois");
        vu = true;
        if (champ == TChamp::Annee ? (largeur != 2 && largeur != 4) : largeur > 2)
            RefuserMotif(motif, "d et M s'écrivent d, dd, M ou MM ; l'année yy ou yyyy");
        elements_.push_back({ champ, largeur, u'\0' });
        i = fin;
    }
    if (!vus[0] || !vus[1] || !vus[2])
        RefuserMotif(motif, "le jour, le mois et l'année doivent tous y figurer");
}

TFormatDate TFormatDate::DeLaLocale(std::string_view nomLocale)
{
    TFormatDate format(u"dd/MM/yyyy");
    format.lecture_ = TLecture::FormesDesLocales;
    const std::u16string motif = ReglagesDepuisLocale(MotifDateCourtLocale(nomLocale), u':', u'.').formatDateCourt;
    format.ordreLocale_ = motif.find(u'M') < motif.find(u'd') ? TOrdre::MoisJour : TOrdre::JourMois;
    return format;
}

std::optional<std::chrono::year_month_day> TFormatDate::LireDansLOrdre(std::u16string_view texte, TOrdre ordre)
{
    const std::optional<std::array<TNombre, 3>> nombres = TroisNombres(texte);
    if (nombres && (*nombres)[0].chiffres == 4) {
        const auto [annee, mois, jour] = *nombres;
        if (mois.chiffres <= 2 && jour.chiffres <= 2)
            return Jour(annee.valeur, mois.valeur, jour.valeur);
    } else if (nombres && (*nombres)[0].chiffres <= 2 && (*nombres)[1].chiffres <= 2
               && ((*nombres)[2].chiffres == 2 || (*nombres)[2].chiffres == 4)) {
        const auto [premier, second, dernier] = *nombres;
        const int annee = AnneeSurQuatreChiffres(dernier.valeur, dernier.chiffres);
        return ordre == TOrdre::JourMois ? Jour(annee, second.valeur, premier.valeur)
                                         : Jour(annee, premier.valeur, second.valeur);
    }
    return std::nullopt;
}

std::chrono::year_month_day TFormatDate::LireSansMotif(std::u16string_view texte) const
{
    std::optional<std::chrono::year_month_day> date = LireDansLOrdre(texte, ordreLocale_);
    if (!date)
        date = LireDansLOrdre(texte, AutreOrdre(ordreLocale_));
    if (!date)
        throw ErreurRequete("Date illisible : « " + TexteCite(texte)
                            + " » (attendu : jour, mois et année en chiffres, ou l'année sur quatre chiffres "
                              "d'abord).");
    return *date;
}

std::pair<std::chrono::year_month_day, std::chrono::year_month_day> TFormatDate::LirePeriode(
    std::u16string_view debut, std::u16string_view fin) const
{
    // Both dates of a period come from one pattern: when one of them can be
    // read in one order only ("11/30/26"), that order reads the other too
    // ("11/1/26" is then 1 November, not 11 January), whatever the server's
    // own locale prefers.
    if (lecture_ == TLecture::FormesDesLocales) {
        for (const TOrdre ordre : { ordreLocale_, AutreOrdre(ordreLocale_) }) {
            const auto premier = LireDansLOrdre(debut, ordre);
            const auto dernier = LireDansLOrdre(fin, ordre);
            if (premier && dernier)
                return { *premier, *dernier };
        }
    }
    return { Lire(debut), Lire(fin) };
}

std::chrono::year_month_day TFormatDate::Lire(std::u16string_view texte) const
{
    if (lecture_ == TLecture::FormesDesLocales)
        return LireSansMotif(texte);
    const auto refuser = [&]() {
        throw ErreurRequete("Date illisible : « " + TexteCite(texte) + " » (format attendu : " + VersUtf8(motif_)
                            + ").");
    };
    int jour = 0;
    int mois = 0;
    int annee = 0;
    std::size_t position = 0;
    for (const TElement& element : elements_) {
        if (element.champ == TChamp::Litteral) {
            if (position >= texte.size() || texte[position] != element.litteral)
                refuser();
            ++position;
            continue;
        }
        // Day and month take one or two digits whatever the pattern's width,
        // so that "1/3/2019" and "01/03/2019" both read with either "d/M/yyyy"
        // or "dd/MM/yyyy". The year takes exactly its width.
        const std::size_t minimum = element.champ == TChamp::Annee ? element.largeur : 1;
        const std::size_t maximum = element.champ == TChamp::Annee ? element.largeur : 2;
        int valeur = 0;
        std::size_t lus = 0;
        while (lus < maximum && position < texte.size() && EstChiffreAscii(texte[position])) {
            valeur = valeur * 10 + (texte[position] - u'0');
            ++position;
            ++lus;
        }
        if (lus < minimum)
            refuser();
        if (element.champ == TChamp::Jour)
            jour = valeur;
        else if (element.champ == TChamp::Mois)
            mois = valeur;
        else
            annee = AnneeSurQuatreChiffres(valeur, lus);
    }
    if (position != texte.size())
        refuser();
    const std::optional<std::chrono::year_month_day> date = Jour(annee, mois, jour);
    if (!date)
        refuser();
    return *date;
}

std::u16string TFormatDate::Ecrire(std::chrono::year_month_day jour) const
{
    std::u16string texte;
    for (const TElement& element : elements_) {
        switch (element.champ) {
        case TChamp::Litteral:
            texte.push_back(element.litteral);
            break;
        case TChamp::Jour:
            AjouterNombre(texte, static_cast<int>(static_cast<unsigned>(jour.day())), element.largeur);
            break;
        case TChamp::Mois:
            AjouterNombre(texte, static_cast<int>(static_cast<unsigned>(jour.month())), element.largeur);
            break;
        case TChamp::Annee: {
            const int annee = static_cast<int>(jour.year());
            AjouterNombre(texte, element.largeur == 2 ? annee % 100 : annee, element.largeur);
            break;
        }
        }
    }
    return texte;
}

std::string NomLocaleDesDates()
{
    for (const char* variable : { "LC_ALL", "LC_TIME", "LANG" }) {
        const char* valeur = std::getenv(variable);
        if (valeur != nullptr && *valeur != '\0')
            return valeur;
    }
    return {};
}

} // namespace tq
