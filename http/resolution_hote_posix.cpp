#include "http/resolution_hote.h"

#include "http/erreurs_http.h"
#include "http/numero_erreur_socket_posix.h"
#include "platform/caracteres.h"

#include "platform/bibliotheque_icu.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>

namespace tq {

namespace {

struct TFermeIdna {
    void operator()(UIDNA* idna) const { BibliothequeIcu()->uidna_close(idna); }
};

struct TLibereAdresses {
    void operator()(addrinfo* a) const { freeaddrinfo(a); }
};

} // namespace

std::string NomHoteAscii(std::string_view nom)
{
    if (std::all_of(nom.begin(), nom.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(nom);
    // No host name is that long; the limit keeps the length within ICU's
    // counts. Without ICU no such name can be converted.
    if (nom.size() > 1024 || BibliothequeIcu() == nullptr)
        throw ErreurSocket(NumeroHoteNonTrouve);
    UErrorCode statut = U_ZERO_ERROR;
    std::unique_ptr<UIDNA, TFermeIdna> idna(
        BibliothequeIcu()->uidna_openUTS46(UIDNA_NONTRANSITIONAL_TO_ASCII, &statut));
    if (U_FAILURE(statut))
        throw ErreurSocket(NumeroHoteNonTrouve);
    std::string ascii(256, '\0');
    UIDNAInfo info = UIDNA_INFO_INITIALIZER;
    const int32_t longueur =
        BibliothequeIcu()->uidna_nameToASCII_UTF8(idna.get(), nom.data(), static_cast<int32_t>(nom.size()),
                                                  ascii.data(), static_cast<int32_t>(ascii.size()), &info, &statut);
    if (U_FAILURE(statut) || info.errors != 0 || longueur <= 0 || longueur > static_cast<int32_t>(ascii.size()))
        throw ErreurSocket(NumeroHoteNonTrouve);
    ascii.resize(static_cast<std::size_t>(longueur));
    return ascii;
}

std::uint32_t AdresseHote(std::string_view hote)
{
    if (EgauxSansCasse(hote, "localhost"))
        return htonl(INADDR_LOOPBACK);
    const std::string nom(hote);
    in_addr adresse {};
    if (inet_pton(AF_INET, nom.c_str(), &adresse) == 1)
        return adresse.s_addr;

    const std::string ascii = NomHoteAscii(nom);
    addrinfo criteres {};
    criteres.ai_family = AF_INET;
    criteres.ai_socktype = SOCK_STREAM;
    addrinfo* trouvees = nullptr;
    const int resultat = getaddrinfo(ascii.c_str(), nullptr, &criteres, &trouvees);
    std::unique_ptr<addrinfo, TLibereAdresses> liste(trouvees);
    if (resultat == EAI_SYSTEM)
        throw ErreurSocket(NumeroErreurSocket(errno));
    if (resultat == EAI_MEMORY)
        throw ErreurSocket(NumeroErreurSocket(ENOMEM));
    if (resultat != 0 || liste == nullptr)
        throw ErreurSocket(NumeroHoteNonTrouve);
    return reinterpret_cast<const sockaddr_in*>(liste->ai_addr)->sin_addr.s_addr;
}

} // namespace tq
