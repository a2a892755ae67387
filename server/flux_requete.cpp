#include "server/flux_requete.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tq {

using std::chrono::steady_clock;

namespace {

void AdresseEtPort(const sockaddr_storage& adresse, std::string& ip, int& port)
{
    char texte[INET6_ADDRSTRLEN] = {};
    if (adresse.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(adresse);
        ::inet_ntop(AF_INET, &v4.sin_addr, texte, sizeof texte);
        port = ntohs(v4.sin_port);
    } else if (adresse.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(adresse);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, texte, sizeof texte);
        port = ntohs(v6.sin6_port);
    }
    ip = texte;
}

} // namespace

bool EcrireSurSocket(int socket, std::string_view octets, steady_clock::time_point echeance)
{
    std::size_t ecrits = 0;
    while (ecrits < octets.size()) {
        const ssize_t n = ::send(socket, octets.data() + ecrits, octets.size() - ecrits, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            ecrits += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return false;
        const auto reste = std::chrono::ceil<std::chrono::milliseconds>(echeance - steady_clock::now());
        if (reste.count() <= 0)
            return false;
        pollfd attente { socket, POLLOUT, 0 };
        if (::poll(&attente, 1, static_cast<int>(reste.count())) < 0 && errno != EINTR)
            return false;
    }
    return true;
}

TFluxRequete::TFluxRequete(int socket, std::string requete, steady_clock::time_point echeance)
    : socket_(socket)
    , requete_(std::move(requete))
    , echeance_(echeance)
{
}

bool TFluxRequete::is_readable() const
{
    return lus_ < requete_.size();
}

bool TFluxRequete::is_writable() const
{
    return steady_clock::now() < echeance_;
}

ssize_t TFluxRequete::read(char* ptr, size_t size)
{
    // Past the request's end comes the end of the stream: the bytes were
    // all received before the library was given the request.
    const std::size_t n = std::min(size, requete_.size() - lus_);
    std::memcpy(ptr, requete_.data() + lus_, n);
    lus_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t TFluxRequete::write(const char* ptr, size_t size)
{
    return EcrireSurSocket(socket_, std::string_view(ptr, size), echeance_) ? static_cast<ssize_t>(size) : -1;
}

void TFluxRequete::get_remote_ip_and_port(std::string& ip, int& port) const
{
    sockaddr_storage adresse {};
    socklen_t taille = sizeof adresse;
    if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&adresse), &taille) == 0)
        AdresseEtPort(adresse, ip, port);
}

void TFluxRequete::get_local_ip_and_port(std::string& ip, int& port) const
{
    sockaddr_storage adresse {};
    socklen_t taille = sizeof adresse;
    if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&adresse), &taille) == 0)
        AdresseEtPort(adresse, ip, port);
}

} // namespace tq
