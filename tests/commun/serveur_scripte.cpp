#include "tests/commun/serveur_scripte.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <stdexcept>

namespace tq::test {

namespace {

// The few socket calls that differ between POSIX and Windows Sockets. A
// Windows socket handle of a test process fits in an int.
enum class TBlocage { Bloquant, NonBloquant };

#ifdef _WIN32
constexpr int MSG_NOSIGNAL = 0;
constexpr int SHUT_WR = SD_SEND;

int NouveauSocket(TBlocage blocage)
{
    static const bool demarre = [] {
        WSADATA donnees;
        return WSAStartup(MAKEWORD(2, 2), &donnees) == 0;
    }();
    if (!demarre)
        return -1;
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return -1;
    u_long nonBloquant = blocage == TBlocage::NonBloquant ? 1 : 0;
    ::ioctlsocket(s, FIONBIO, &nonBloquant);
    return static_cast<int>(s);
}

int FermerSocket(int fd)
{
    return ::closesocket(static_cast<SOCKET>(fd));
}

int Accepter(int ecoute)
{
    const SOCKET s = ::accept(static_cast<SOCKET>(ecoute), nullptr, nullptr);
    return s == INVALID_SOCKET ? -1 : static_cast<int>(s);
}

pollfd Attente(int fd, short evenement)
{
    pollfd attente {};
    attente.fd = static_cast<SOCKET>(fd);
    attente.events = evenement;
    return attente;
}

int Sonder(pollfd* attente, int delai)
{
    return ::WSAPoll(attente, 1, delai);
}
#else
int NouveauSocket(TBlocage blocage)
{
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (blocage == TBlocage::NonBloquant ? SOCK_NONBLOCK : 0), 0);
}

int FermerSocket(int fd)
{
    return ::close(fd);
}

int Accepter(int ecoute)
{
    return ::accept4(ecoute, nullptr, nullptr, SOCK_CLOEXEC);
}

pollfd Attente(int fd, short evenement)
{
    return pollfd { fd, evenement, 0 };
}

int Sonder(pollfd* attente, int delai)
{
    return ::poll(attente, 1, delai);
}
#endif

constexpr std::chrono::milliseconds Pas { 10 };

int EcouteLocale(int file, std::uint16_t& port)
{
    const int fd = NouveauSocket(TBlocage::Bloquant);
    if (fd < 0)
        throw std::runtime_error("socket() a échoué");
    const int oui = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&oui), sizeof oui);
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adresse.sin_port = 0;
    socklen_t longueur = sizeof adresse;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 || (file >= 0 && ::listen(fd, file) != 0)
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&adresse), &longueur) != 0) {
        FermerSocket(fd);
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
    FermerSocket(ecoute_);
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
        pollfd attente = Attente(ecoute_, POLLIN);
        if (Sonder(&attente, static_cast<int>(Pas.count())) <= 0)
            continue;
        const int client = Accepter(ecoute_);
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
            FermerSocket(client);
    }
}

void TServeurScripte::Traiter(int client)
{
#ifdef _WIN32
    // Under Wine a client that gave up with bytes still unread does not
    // always reset the connection at once: a send that stays blocked ends
    // after a while instead of holding the server's thread for ever.
    const DWORD delaiEnvoi = 5000;
    ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&delaiEnvoi), sizeof delaiEnvoi);
#endif
    char tampon[65536];
    if (lecture_ == TLectureRequete::Complete) {
        std::string requete;
        while (!arret_ && !RequeteComplete(requete)) {
            pollfd attente = Attente(client, POLLIN);
            if (Sonder(&attente, static_cast<int>(Pas.count())) <= 0)
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
        ::setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abandon), sizeof abandon);
        FermerSocket(client);
        return;
    }
    if (fin_ == TFinServeur::Fermer)
        ::shutdown(client, SHUT_WR);
    // Whatever the client still sends is read and dropped until it closes, so
    // that closing here never turns into a reset it would see.
    while (!arret_) {
        pollfd attente = Attente(client, POLLIN);
        if (Sonder(&attente, static_cast<int>(Pas.count())) <= 0)
            continue;
        if (::recv(client, tampon, sizeof tampon, 0) <= 0)
            break;
    }
    FermerSocket(client);
}

std::uint16_t PortFerme()
{
    std::uint16_t port = 0;
    const int fd = EcouteLocale(-1, port);
    FermerSocket(fd);
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
        const int fd = NouveauSocket(TBlocage::NonBloquant);
        occupants_.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) == 0)
            continue;
        pollfd attente = Attente(fd, POLLOUT);
        if (Sonder(&attente, 200) == 0)
            return;
    }
}

TEcouteSaturee::~TEcouteSaturee()
{
    for (int fd : occupants_)
        FermerSocket(fd);
    FermerSocket(ecoute_);
}

} // namespace tq::test
