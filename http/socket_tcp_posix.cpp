#include "http/socket_tcp.h"

#include "http/erreurs_http.h"
#include "http/numero_erreur_socket_posix.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace tq {

namespace {

[[noreturn]] void EchecSysteme(int codeErrno)
{
    throw ErreurSocket(NumeroErreurSocket(codeErrno));
}

} // namespace

void TSocketTcp::Fermer()
{
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

bool TSocketTcp::Attendre(TEvenement evenement, std::chrono::milliseconds delai)
{
    using Horloge = std::chrono::steady_clock;
    const Horloge::time_point echeance = Horloge::now() + delai;
    const short attendu = evenement == TEvenement::Lecture ? POLLIN : POLLOUT;
    for (;;) {
        const auto reste = std::chrono::duration_cast<std::chrono::milliseconds>(echeance - Horloge::now());
        pollfd attente { static_cast<int>(fd_), attendu, 0 };
        const int n = ::poll(&attente, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(reste.count(), 0)));
        if (n > 0)
            return true;
        if (n == 0)
            return false;
        if (errno != EINTR)
            EchecSysteme(errno);
    }
}

void TSocketTcp::Connecter(std::uint32_t adresse, std::uint16_t port, std::chrono::milliseconds delaiConnexion,
                           std::chrono::milliseconds delaiLecture)
{
    Fermer();
    delaiLecture_ = delaiLecture;
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        EchecSysteme(errno);
    // The head and the body go out as soon as they are written.
    const int oui = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &oui, sizeof oui);

    sockaddr_in destination {};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(port);
    destination.sin_addr.s_addr = adresse;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&destination), sizeof destination) == 0)
        return;
    if (errno != EINPROGRESS && errno != EINTR) {
        const int code = errno;
        Fermer();
        EchecSysteme(code);
    }
    AttendreConnexion(delaiConnexion);
    int erreur = 0;
    socklen_t longueur = sizeof erreur;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &erreur, &longueur) != 0)
        erreur = errno;
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
        // MSG_NOSIGNAL: a peer that has gone must give an error, not SIGPIPE.
        const ssize_t n = ::send(fd_, octets.data() + envoyes, piece, MSG_NOSIGNAL);
        if (n >= 0)
            envoyes += static_cast<std::size_t>(n);
        else if (errno == EAGAIN || errno == EWOULDBLOCK)
            AttendreDansLeDelai(TEvenement::Ecriture);
        else if (errno != EINTR)
            EchecSysteme(errno);
    }
}

std::size_t TSocketTcp::Lire(char* tampon, std::size_t taille)
{
    for (;;) {
        const ssize_t n = ::recv(fd_, tampon, taille, 0);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            AttendreDansLeDelai(TEvenement::Lecture);
        else if (errno != EINTR)
            EchecSysteme(errno);
    }
}

} // namespace tq
