#include "http/resolution_hote.h"

#include "http/erreurs_http.h"
#include "http/winsock_windows.h"
#include "platform/caracteres.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// winsock2.h before windows.h, which would otherwise bring in the old Winsock.
#include <windows.h>
#include <winnls.h>

#include <algorithm>
#include <memory>
#include <string>

namespace tq {

namespace {

struct TLibereAdresses {
    void operator()(addrinfo* a) const { freeaddrinfo(a); }
};

// No host name is that long; the limit keeps every length within the
// system's int counts.
constexpr std::size_t LongueurNomMax = 1024;

std::wstring DepuisUtf8(std::string_view nom)
{
    const int n =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, nom.data(), static_cast<int>(nom.size()), nullptr, 0);
    if (n <= 0)
        throw ErreurSocket(NumeroHoteNonTrouve);
    std::wstring large(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, nom.data(), static_cast<int>(nom.size()), large.data(), n);
    return large;
}

} // namespace

std::string NomHoteAscii(std::string_view nom)
{
    if (std::all_of(nom.begin(), nom.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(nom);
    if (nom.size() > LongueurNomMax)
        throw ErreurSocket(NumeroHoteNonTrouve);
    const std::wstring large = DepuisUtf8(nom);
    wchar_t ascii[256];
    const int longueur = IdnToAscii(0, large.data(), static_cast<int>(large.size()), ascii, 256);
    if (longueur <= 0)
        throw ErreurSocket(NumeroHoteNonTrouve);
    return std::string(ascii, ascii + longueur);
}

std::uint32_t AdresseHote(std::string_view hote)
{
    DemarrerWinsock();
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
    // The system's own number when it ran out of resources; every other
    // failure means the name has no address.
    if (resultat == WSA_NOT_ENOUGH_MEMORY || resultat == WSAENOBUFS)
        throw ErreurSocket(WSAENOBUFS);
    if (resultat != 0 || liste == nullptr)
        throw ErreurSocket(NumeroHoteNonTrouve);
    return reinterpret_cast<const sockaddr_in*>(liste->ai_addr)->sin_addr.s_addr;
}

} // namespace tq
