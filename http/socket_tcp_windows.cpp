#include "http/socket_tcp.h"

#include "http/erreurs_http.h"
#include "http/winsock_windows.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace tq {

namespace {

// The error numbers are the system's own Windows Sockets numbers, so they go
// into the message as they are.
[[noreturn]] void EchecSysteme(int numero)
{
    throw ErreurSocket(numero);
}

SOCKET Handle(std::intptr_t fd)
{
    return static_cast<SOCKET>(fd);
}

} // namespace

void TSocketTcp::Fermer()
{
    if (fd_ >= 0)
        ::closesocket(Handle(std::exchange(fd_, -1)));
}

// select() rather than WSAPoll(): WSAPoll does not report a refused
// connection on every version of the system. A failed connection shows in
// the exception set, and counts as an event so that SO_ERROR tells the cause.
bool TSocketTcp::Attendre(TEvenement evenement, std::chrono::milliseconds delai)
{
    const std::chrono::milliseconds borne =
        std::clamp(delai, std::chrono::milliseconds { 0 }, std::chrono::milliseconds { INT_MAX });
    fd_set lecture, ecriture, exception;
    FD_ZERO(&lecture);
    FD_ZERO(&ecriture);
    FD_ZERO(&exception);
    FD_SET(Handle(fd_), evenement == TEvenement::Lecture ? &lecture : &ecriture);
    FD_SET(Handle(fd_), &exception);
    timeval attente;
    attente.tv_sec = static_cast<long>(borne.count() / 1000);
    attente.tv_usec = static_cast<long>(borne.count() % 1000 * 1000);
    const int n = ::select(0, &lecture, &ecriture, &exception, &attente);
    if (n == SOCKET_ERROR)
        EchecSysteme(WSAGetLastError());
    return n > 0;
}

void TSocketTcp::Connecter(std::uint32_t adresse, std::uint16_t port, std::chrono::milliseconds delaiConnexion,
                           std::chrono::milliseconds delaiLecture)
{
    Fermer();
    DemarrerWinsock();
    delaiLecture_ = delaiLecture;
    const SOCKET s = ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET)
        EchecSysteme(WSAGetLastError());
    fd_ = static_cast<std::intptr_t>(s);
    u_long nonBloquant = 1;
    if (::ioctlsocket(s, FIONBIO, &nonBloquant) != 0) {
        const int code = WSAGetLastError();
        Fermer();
        EchecSysteme(code);
    }
    // The head and the body go out as soon as they are written.
    const BOOL oui = TRUE;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&oui), sizeof oui);

    sockaddr_in destination {};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(port);
    destination.sin_addr.s_addr = adresse;
    if (::connect(s, reinterpret_cast<const sockaddr*>(&destination), sizeof destination) == 0)
        return;
    if (const int code = WSAGetLastError(); code != WSAEWOULDBLOCK) {
        Fermer();
        EchecSysteme(code);
    }
    AttendreConnexion(delaiConnexion);
    int erreur = 0;
    int longueur = sizeof erreur;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&erreur), &longueur) != 0)
        erreur = WSAGetLastError();
    if (erreur != 0) {
        Fermer();
        EchecSysteme(erreur);
    }
}

void TSocketTcp::Envoyer(std::string_view octets)
{
    std::size_t envoyes = 0;
    while (envoyes < octets.size()) {
        const std::size_t piece = std::min(TaillePieceEnvoi, octets.size() - envoyes);
        const int n = ::send(Handle(fd_), octets.data() + envoyes, static_cast<int>(piece), 0);
        if (n != SOCKET_ERROR)
            envoyes += static_cast<std::size_t>(n);
        else if (const int code = WSAGetLastError(); code == WSAEWOULDBLOCK)
            AttendreDansLeDelai(TEvenement::Ecriture);
        else if (code != WSAEINTR)
            EchecSysteme(code);
    }
}

std::size_t TSocketTcp::Lire(char* tampon, std::size_t taille)
{
    const int demande = static_cast<int>(std::min(taille, std::size_t { INT_MAX }));
    for (;;) {
        const int n = ::recv(Handle(fd_), tampon, demande, 0);
        if (n != SOCKET_ERROR)
            return static_cast<std::size_t>(n);
        if (const int code = WSAGetLastError(); code == WSAEWOULDBLOCK)
            AttendreDansLeDelai(TEvenement::Lecture);
        else if (code != WSAEINTR)
            EchecSysteme(code);
    }
}

} // namespace tq
