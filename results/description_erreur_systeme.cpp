#include "results/description_erreur_systeme.h"

#include <cerrno>
#include <cstring>

namespace tq {

namespace {

const char* TexteConnu(int numero)
{
    switch (numero) {
    case ENOENT:
    case ENOTDIR:
        return "Le chemin d'accès spécifié est introuvable.";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "Accès refusé.";
    case EROFS:
        return "Le support est protégé en écriture.";
    case ENOSPC:
    case EDQUOT:
        return "Espace insuffisant sur le disque.";
    case ENAMETOOLONG:
        return "Le nom de fichier ou l'extension est trop long.";
    case EINVAL:
        return "La syntaxe du nom de fichier, de répertoire ou de volume est incorrecte.";
    case EBUSY:
    case ETXTBSY:
        return "Le processus ne peut pas accéder au fichier car ce fichier est utilisé par un autre processus.";
    case EMFILE:
    case ENFILE:
        return "Le système ne peut pas ouvrir le fichier.";
    case EIO:
        return "La demande n'a pas abouti en raison d'une erreur de périphérique d'E/S.";
    default:
        return nullptr;
    }
}

} // namespace

std::string DescriptionErreurSysteme(int numero)
{
    std::string texte;
    if (const char* connu = TexteConnu(numero)) {
        texte = connu;
    } else {
        char tampon[256];
        texte = strerror_r(numero, tampon, sizeof tampon);
    }
    while (!texte.empty() && (static_cast<unsigned char>(texte.back()) <= 32 || texte.back() == '.'))
        texte.pop_back();
    return texte;
}

} // namespace tq
