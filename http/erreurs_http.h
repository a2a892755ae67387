#pragma once

#include "platform/erreur.h"

#include <string>

namespace tq {

// A socket operation failed. The number is the Windows Sockets error number
// (11001 for a name that cannot be resolved); the message is
// "Erreur de socket n° N", CR LF and the French text for N.
class ErreurSocket : public Erreur {
public:
    explicit ErreurSocket(int numero);
    int Numero() const { return numero_; }

private:
    int numero_;
};

// A complete answer whose status is not a success status. The message is the
// status line as received; the body is decoded as a successful body would be.
class ErreurProtocole : public Erreur {
public:
    ErreurProtocole(int codeStatut, const std::string& ligneStatut, std::u16string texteCorps);
    int CodeStatut() const { return codeStatut_; }
    const std::u16string& TexteCorps() const { return texteCorps_; }

private:
    int codeStatut_;
    std::u16string texteCorps_;
};

// Messages of the client's other failures, raised as tq::Erreur.
inline constexpr const char* MessageConnexionFermee = "La connexion s'est fermée proprement.";
inline constexpr const char* MessageLigneTropLongue = "Longueur de ligne maximale dépassée.";
inline constexpr const char* MessageTropDeLignesEntete = "Trop de lignes d'en-tête dans la réponse.";
inline constexpr const char* MessageTropDeReponsesIntermediaires = "Trop de réponses intermédiaires dans la réponse.";
inline constexpr const char* MessageReponseTropVolumineuse = "Réponse trop volumineuse.";
inline constexpr const char* MessageTailleFragmentInvalide = "Taille de fragment non valide dans la réponse.";
inline constexpr const char* MessageUrlInvalide = "Adresse URL non valide : ";

// Windows Sockets error numbers that the client raises itself.
inline constexpr int NumeroDelaiDepasse = 10060;
inline constexpr int NumeroHoteNonTrouve = 11001;

} // namespace tq
