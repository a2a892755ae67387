#include "server/lecture_requete.h"

#include "platform/texte_utf.h"
#include "server/erreurs_serveur.h"
#include "server/json_requete.h"
#include "server/windows_1252.h"

#include <charconv>
#include <optional>
#include <string>
#include <tuple>

namespace tq {

namespace {

// The value of an integer member. Integers too long for 64 bits cannot name
// a query and read as an unknown value instead of failing.
long long EntierRequis(const TValeurJson& document, std::u16string_view nom)
{
    const TValeurJson* valeur = document.Membre(nom);
    std::string chiffres;
    if (valeur != nullptr && valeur->genre == TValeurJson::TGenre::Nombre) {
        for (const char16_t c : valeur->texte) {
            if (c == u'.' || c == u'e' || c == u'E') {
                chiffres.clear();
                break;
            }
            chiffres.push_back(static_cast<char>(c));
        }
    }
    if (chiffres.empty())
        throw ErreurRequete("Requête illisible : le membre « " + VersUtf8(nom) + " » doit être un nombre entier.");
    long long entier = -1;
    const auto [fin, erreur] = std::from_chars(chiffres.data(), chiffres.data() + chiffres.size(), entier);
    if (erreur != std::errc() || fin != chiffres.data() + chiffres.size())
        entier = -1;
    return entier;
}

// A number of the request as quoted back: digits only, cut short if long.
std::string NombreCite(const TValeurJson& nombre)
{
    constexpr std::size_t longueurMaximale = 20;
    if (nombre.texte.size() <= longueurMaximale)
        return VersUtf8(nombre.texte);
    return VersUtf8(nombre.texte.substr(0, longueurMaximale)) + "…";
}

std::optional<std::u16string> DateDonnee(const TValeurJson& document, std::u16string_view nom)
{
    const TValeurJson* valeur = document.Membre(nom);
    if (valeur == nullptr || valeur->genre == TValeurJson::TGenre::Nul)
        return std::nullopt;
    if (valeur->genre != TValeurJson::TGenre::Texte)
        throw ErreurRequete("Requête illisible : le membre « " + VersUtf8(nom) + " » doit être une date.");
    return valeur->texte;
}

} // namespace

TRequete LireRequete(std::string_view corps, const TFormatDate& format)
{
    const TValeurJson document = LireJson(DepuisWindows1252(corps));
    if (document.genre != TValeurJson::TGenre::Objet)
        throw ErreurRequete("Requête illisible : un objet JSON est attendu.");

    const long long type = EntierRequis(document, u"type");
    const long long requeteId = EntierRequis(document, u"requeteId");
    TRequete requete;
    if (type == 4 && requeteId == 1) {
        requete.genre = TGenreRequete::ListeCentres;
        return requete;
    }
    if (type == 100 && requeteId == 2) {
        requete.genre = TGenreRequete::ListeAcces;
        return requete;
    }
    if (type != 4 && type != 100)
        throw ErreurRequete("Type de requête inconnu : " + NombreCite(*document.Membre(u"type")) + ".");
    if (type == 4 || requeteId != 1)
        throw ErreurRequete("Requête inconnue : type " + std::to_string(type) + ", requeteId "
                            + NombreCite(*document.Membre(u"requeteId")) + ".");

    requete.genre = TGenreRequete::Statistiques;
    const std::optional<std::u16string> debut = DateDonnee(document, u"periode1Debut");
    const std::optional<std::u16string> fin = DateDonnee(document, u"periode1Fin");
    if (!debut || !fin)
        throw ErreurRequete("Période absente : « periode1Debut » et « periode1Fin » sont requis.");
    std::tie(requete.debut, requete.fin) = format.LirePeriode(*debut, *fin);
    if (requete.fin < requete.debut)
        throw ErreurRequete("Période incorrecte : la fin (" + VersUtf8(*fin) + ") précède le début (" + VersUtf8(*debut)
                            + ").");
    return requete;
}

} // namespace tq
