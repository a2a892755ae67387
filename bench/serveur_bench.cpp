#include "bench/serveur_bench.h"

#include "bench/donnees.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include <arpa/inet.h>
#include <fcntl.h>
#include <strings.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tq::bench {

namespace {

bool EnvoyerTout(int fd, std::string_view tete, std::string_view corps)
{
    iovec morceaux[2] = { { const_cast<char*>(tete.data()), tete.size() },
                          { const_cast<char*>(corps.data()), corps.size() } };
    int premier = 0;
    while (premier < 2) {
        msghdr message {};
        message.msg_iov = morceaux + premier;
        message.msg_iovlen = static_cast<std::size_t>(2 - premier);
        const ssize_t n = sendmsg(fd, &message, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        auto reste = static_cast<std::size_t>(n);
        while (premier < 2 && reste >= morceaux[premier].iov_len) {
            reste -= morceaux[premier].iov_len;
            ++premier;
        }
        if (premier < 2) {
            morceaux[premier].iov_base = static_cast<char*>(morceaux[premier].iov_base) + reste;
            morceaux[premier].iov_len -= reste;
        }
    }
    return true;
}

// The request head up to its empty line and the body its Content-Length
// announces; the path of the request line. False when the peer goes away.
bool LireRequete(int fd, std::string& chemin)
{
    std::string recu;
    char tampon[16384];
    std::size_t finTete = std::string::npos;
    while ((finTete = recu.find("\r\n\r\n")) == std::string::npos) {
        const ssize_t n = read(fd, tampon, sizeof tampon);
        if (n <= 0)
            return false;
        recu.append(tampon, static_cast<std::size_t>(n));
    }
    std::size_t longueur = 0;
    for (std::size_t ligne = recu.find("\r\n") + 2; ligne < finTete;) {
        const std::size_t fin = recu.find("\r\n", ligne);
        const std::string_view champ(recu.data() + ligne, fin - ligne);
        if (champ.size() > 15 && strncasecmp(champ.data(), "content-length:", 15) == 0)
            longueur = std::stoul(std::string(champ.substr(15)));
        ligne = fin + 2;
    }
    std::size_t corps = recu.size() - (finTete + 4);
    while (corps < longueur) {
        const ssize_t n = read(fd, tampon, sizeof tampon);
        if (n <= 0)
            return false;
        corps += static_cast<std::size_t>(n);
    }
    const std::size_t espace = recu.find(' ');
    chemin = recu.substr(espace + 1, recu.find(' ', espace + 1) - espace - 1);
    return true;
}

std::string Tete(std::string_view statut, const std::string* longueur)
{
    std::string tete = "HTTP/1.1 ";
    tete += statut;
    tete += "\r\nContent-Type: application/json; charset=utf-8\r\n";
    if (longueur != nullptr)
        tete += "Content-Length: " + *longueur + "\r\n";
    tete += "Connection: close\r\n\r\n";
    return tete;
}

// Loads the answers, tells the parent through `pret` that it may start the
// cases (so that no case shares the processor with the loading), then serves.
[[noreturn]] void Servir(int ecoute, int pret, const std::filesystem::path& fichierResultats,
                         const std::filesystem::path& fichierCentres)
{
    const std::string resultats = LireFichier(fichierResultats);
    const std::string centres = LireFichier(fichierCentres);
    const char octet = 1;
    if (write(pret, &octet, 1) != 1)
        _exit(1);
    close(pret);
    const std::string longueurResultats = std::to_string(resultats.size());
    const std::string longueurCentres = std::to_string(centres.size());
    const std::string teteResultats = Tete("200 OK", &longueurResultats);
    const std::string teteFlux = Tete("200 OK", nullptr);
    const std::string teteCentres = Tete("200 OK", &longueurCentres);
    for (;;) {
        const int fd = accept(ecoute, nullptr, nullptr);
        if (fd < 0)
            continue;
        std::string chemin;
        if (LireRequete(fd, chemin)) {
            if (chemin == "/resultats" || chemin == "/")
                EnvoyerTout(fd, teteResultats, resultats);
            else if (chemin == "/resultats-sans-longueur")
                EnvoyerTout(fd, teteFlux, resultats);
            else if (chemin == "/centres")
                EnvoyerTout(fd, teteCentres, centres);
            else
                EnvoyerTout(fd, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", {});
            // The client has sent everything, so closing now sends a plain end
            // of stream after the answer, never a reset.
            shutdown(fd, SHUT_WR);
        }
        close(fd);
    }
}

} // namespace

TServeurBench::TServeurBench(const std::filesystem::path& resultats, const std::filesystem::path& centres)
{
    const int ecoute = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (ecoute < 0)
        throw std::runtime_error("socket");
    const int oui = 1;
    setsockopt(ecoute, SOL_SOCKET, SO_REUSEADDR, &oui, sizeof oui);
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t taille = sizeof adresse;
    if (bind(ecoute, reinterpret_cast<sockaddr*>(&adresse), taille) != 0 || listen(ecoute, 16) != 0
        || getsockname(ecoute, reinterpret_cast<sockaddr*>(&adresse), &taille) != 0) {
        close(ecoute);
        throw std::runtime_error("bind/listen on 127.0.0.1");
    }
    port_ = ntohs(adresse.sin_port);
    int tube[2];
    if (pipe2(tube, O_CLOEXEC) != 0) {
        close(ecoute);
        throw std::runtime_error("pipe");
    }
    processus_ = fork();
    if (processus_ < 0) {
        close(ecoute);
        close(tube[0]);
        close(tube[1]);
        throw std::runtime_error("fork");
    }
    if (processus_ == 0) {
        close(tube[0]);
        try {
            Servir(ecoute, tube[1], resultats, centres);
        } catch (...) {
            _exit(1);
        }
    }
    close(ecoute);
    close(tube[1]);
    char octet = 0;
    ssize_t lu;
    while ((lu = read(tube[0], &octet, 1)) < 0 && errno == EINTR) { }
    close(tube[0]);
    if (lu != 1) {
        waitpid(processus_, nullptr, 0);
        processus_ = -1;
        throw std::runtime_error("the loopback server could not load its answers");
    }
}

TServeurBench::~TServeurBench()
{
    if (processus_ > 0) {
        kill(processus_, SIGTERM);
        waitpid(processus_, nullptr, 0);
    }
}

} // namespace tq::bench
