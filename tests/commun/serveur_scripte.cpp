#include "tests/commun/serveur_scripte.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <stdexcept>

namespace tq::test {

namespace {

constexpr std::chrono::milliseconds Pas { 10 };

int EcouteLocale(int file, std::uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error("socket() a échoué");
    const int oui = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &oui, sizeof oui);
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adresse.sin_port = 0;
    socklen_t longueur = sizeof adresse;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 || (file >= 0 && ::listen(fd, file) != 0)
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&adresse), &longueur) != 0) {
        ::close(fd);
        throw std::runtime_error("bind() ou listen() a échoué");
    }
    port = ntohs(adresse.sin_port);
    return fd;
}

// True when the request's head has ended and as many body bytes as its
// Content-Length announces have come after it.
bool RequeteComplete(const std::string& requete)
{
    const std::size_t finEntete = requete.find("\r\n\r\n");
    if (finEntete == std::string::npos)
        return false;
    std::string entete = requete.substr(0, finEntete + 2);
    std::transform(entete.begin(), entete.end(), entete.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::size_t longueur = 0;
    const std::size_t champ = entete.find("\r\ncontent-length:");
    if (champ != std::string::npos) {
        std::size_t i = champ + 17;
        while (i < entete.size() && entete[i] == ' ')
            ++i;
        while (i < entete.size() && std::isdigit(static_cast<unsigned char>(entete[i])))
            longueur = longueur * 10 + std::size_t(entete[i++] - '0');
    }
    return requete.size() >= finEntete + 4 + longueur;
}

} // namespace

TServeurScripte::TServeurScripte(std::vector<TEtapeServeur> script, TFinServeur fin, TLectureRequete lecture)
    : script_(std::move(script))
    , fin_(fin)
    , lecture_(lecture)
{
    ecoute_ = EcouteLocale(16, port_);
    fil_ = std::thread([this] { Servir(); });
}

TServeurScripte::~TServeurScripte()
{
    Arreter();
    ::close(ecoute_);
}

std::string TServeurScripte::Url() const
{
    return "http://127.0.0.1:" + std::to_string(port_);
}

void TServeurScripte::Arreter()
{
    arret_ = true;
    if (fil_.joinable())
        fil_.join();
}

std::string TServeurScripte::Requete()
{
    Arreter();
    std::lock_guard verrou(mutex_);
    return requete_;
}

int TServeurScripte::NombreConnexions()
{
    Arreter();
    std::lock_guard verrou(mutex_);
    return connexions_;
}

bool TServeurScripte::Pause(std::chrono::milliseconds duree) const
{
    const auto fin = std::chrono::steady_clock::now() + duree;
    while (std::chrono::steady_clock::now() < fin) {
        if (arret_)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(
            Pas, std::chrono::duration_cast<std::chrono::milliseconds>(fin - std::chrono::steady_clock::now())));
    }
    return !arret_;
}

void TServeurScripte::Servir()
{
    while (!arret_) {
        pollfd attente { ecoute_, POLLIN, 0 };
        if (::poll(&attente, 1, static_cast<int>(Pas.count())) <= 0)
            continue;
        const int client = ::accept4(ecoute_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        int rang;
        {
            std::lock_guard verrou(mutex_);
            rang = ++connexions_;
        }
        if (rang == 1)
            Traiter(client);
        else
            ::close(client);
    }
}

void TServeurScripte::Traiter(int client)
{
    char tampon[65536];
    if (lecture_ == TLectureRequete::Complete) {
        std::string requete;
        while (!arret_ && !RequeteComplete(requete)) {
            pollfd attente { client, POLLIN, 0 };
            if (::poll(&attente, 1, static_cast<int>(Pas.count())) <= 0)
                continue;
            const ssize_t n = ::recv(client, tampon, sizeof tampon, 0);
            if (n <= 0)
                break;
            requete.append(tampon, static_cast<std::size_t>(n));
        }
        std::lock_guard verrou(mutex_);
        requete_ = std::move(requete);
    }
    bool joue = true;
    for (const TEtapeServeur& etape : script_) {
        if (!Pause(etape.pause)) {
            joue = false;
            break;
        }
        std::size_t envoyes = 0;
        while (joue && envoyes < etape.octets.size()) {
            const ssize_t n =
                ::send(client, etape.octets.data() + envoyes, etape.octets.size() - envoyes, MSG_NOSIGNAL);
            if (n <= 0)
                joue = false;
            else
                envoyes += static_cast<std::size_t>(n);
        }
        if (!joue)
            break;
    }
    if (fin_ == TFinServeur::Reinitialiser) {
        const linger abandon { 1, 0 };
        ::setsockopt(client, SOL_SOCKET, SO_LINGER, &abandon, sizeof abandon);
        ::close(client);
        return;
    }
    if (fin_ == TFinServeur::Fermer)
        ::shutdown(client, SHUT_WR);
    // Whatever the client still sends is read and dropped until it closes, so
    // that closing here never turns into a reset it would see.
    while (!arret_) {
        pollfd attente { client, POLLIN, 0 };
        if (::poll(&attente, 1, static_cast<int>(Pas.count())) <= 0)
            continue;
        if (::recv(client, tampon, sizeof tampon, 0) <= 0)
            break;
    }
    ::close(client);
}

std::uint16_t PortFerme()
{
    std::uint16_t port = 0;
    const int fd = EcouteLocale(-1, port);
    ::close(fd);
    return port;
}

TEcouteSaturee::TEcouteSaturee()
{
    ecoute_ = EcouteLocale(0, port_);
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adresse.sin_port = htons(port_);
    // Connect until one attempt stays pending: the queue is then full.
    for (int i = 0; i < 16; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        occupants_.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) == 0)
            continue;
        pollfd attente { fd, POLLOUT, 0 };
        if (::poll(&attente, 1, 200) == 0)
            return;
    }
}

TEcouteSaturee::~TEcouteSaturee()
{
    for (int fd : occupants_)
        ::close(fd);
    ::close(ecoute_);
}

} // namespace tq::test
