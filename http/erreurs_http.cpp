#include "http/erreurs_http.h"

#include <array>
#include <string_view>
#include <utility>

namespace tq {

namespace {

struct TTexteErreur {
    int numero;
    std::string_view texte;
};

constexpr std::array textes = std::to_array<TTexteErreur>({
    { 10004, "Appel système interrompu." },
    { 10009, "Nombre de fichiers incorrect." },
    { 10013, "Accès refusé." },
    { 10014, "Erreur de tampon." },
    { 10022, "Argument non valide." },
    { 10024, "Trop de fichiers ouverts." },
    { 10035, "L'opération risquerait de bloquer." },
    { 10036, "Opération maintenant en cours." },
    { 10037, "Opération déjà en cours." },
    { 10038, "Opération socket sur cible non-socket." },
    { 10039, "Adresse de destination demandée." },
    { 10040, "Message trop long." },
    { 10041, "Type de protocole inapproprié pour le socket." },
    { 10042, "Option de protocole incorrecte." },
    { 10043, "Protocole non supporté." },
    { 10044, "Type de socket non supporté." },
    { 10045, "Opération non supportée sur un socket." },
    { 10046, "Famille de protocole non supportée." },
    { 10047, "Famille d'adresse non supportée par la famille de protocole." },
    { 10048, "Adresse déjà utilisée." },
    { 10049, "Impossible d'assigner l'adresse demandée." },
    { 10050, "Le réseau est arrêté." },
    { 10051, "Le réseau est inaccessible." },
    { 10052, "Connexion interrompue ou réinitialisée par le réseau." },
    { 10053, "Le logiciel a provoqué l'interruption de la connexion." },
    { 10054, "Connexion réinitialisée par l'homologue (peer)." },
    { 10055, "Aucun espace tampon disponible." },
    { 10056, "Le socket est déjà connecté." },
    { 10057, "Le socket n'est pas connecté." },
    { 10058, "Envoi ou réception impossible après la fermeture du socket." },
    { 10059, "Références trop nombreuses, attribution impossible." },
    { 10060, "Délai de connexion dépassé." },
    { 10061, "Connexion refusée." },
    { 10062, "Trop de niveaux de liens symboliques." },
    { 10063, "Nom de fichier trop long." },
    { 10064, "Hôte arrêté." },
    { 10065, "Pas de route vers l'hôte." },
    { 10066, "Répertoire non vide" },
    { 11001, "Hôte non trouvé." },
});

std::string MessageSocket(int numero)
{
    std::string message = "Erreur de socket n° " + std::to_string(numero) + "\r\n";
    for (const TTexteErreur& t : textes) {
        if (t.numero == numero) {
            message += t.texte;
            break;
        }
    }
    return message;
}

} // namespace

ErreurSocket::ErreurSocket(int numero)
    : Erreur(MessageSocket(numero))
    , numero_(numero)
{
}

ErreurProtocole::ErreurProtocole(int codeStatut, const std::string& ligneStatut, std::u16string texteCorps)
    : Erreur(ligneStatut)
    , codeStatut_(codeStatut)
    , texteCorps_(std::move(texteCorps))
{
}

} // namespace tq
