#include "server/format_date.h"

#include "platform/texte_utf.h"
#include "server/erreurs_serveur.h"

namespace tq {

namespace {

bool EstLettreAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool EstChiffre(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

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

std::chrono::year_month_day TFormatDate::Lire(std::u16string_view texte) const
{
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
        while (lus < maximum && position < texte.size() && EstChiffre(texte[position])) {
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
        else if (element.largeur == 2)
            // Two-digit years fall in 1950 to 2049.
            annee = valeur < 50 ? 2000 + valeur : 1900 + valeur;
        else
            annee = valeur;
    }
    if (position != texte.size())
        refuser();
    const std::chrono::year_month_day date { std::chrono::year { annee },
                                             std::chrono::month { static_cast<unsigned>(mois) },
                                             std::chrono::day { static_cast<unsigned>(jour) } };
    if (!date.ok() || annee < 1)
        refuser();
    return date;
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

} // namespace tq
