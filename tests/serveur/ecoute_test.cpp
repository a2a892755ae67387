// The server's listening socket: one server per port, and a queue of pending
// connections long enough for many clients arriving together.
#include "server/serveur_http.h"

#include "outils_test.h"
#include "platform/erreur.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace {

tq::TConfigurationServeur Configuration(const tq::test::TDossierTemporaire& dossier)
{
    return { dossier.Chemin("absente.sqlite"), tq::TFormatDate(u"dd/MM/yyyy") };
}

// Opens `nombre` connections to the port at once, without anybody accepting
// them, and counts those the system completes within the delay.
int ConnexionsEtablies(int port, int nombre, std::chrono::milliseconds delai)
{
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_port = htons(static_cast<std::uint16_t>(port));
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::vector<int> sockets;
    for (int i = 0; i < nombre; ++i) {
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (s < 0)
            break;
        sockets.push_back(s);
        ::connect(s, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse);
    }
    std::vector<pollfd> attente;
    for (const int s : sockets)
        attente.push_back({ s, POLLOUT, 0 });
    const auto fin = std::chrono::steady_clock::now() + delai;
    int etablies = 0;
    while (!attente.empty() && std::chrono::steady_clock::now() < fin) {
        const auto reste =
            std::chrono::duration_cast<std::chrono::milliseconds>(fin - std::chrono::steady_clock::now());
        if (::poll(attente.data(), attente.size(), static_cast<int>(reste.count()) + 1) <= 0)
            break;
        for (std::size_t i = 0; i < attente.size();) {
            if (attente[i].revents == 0) {
                ++i;
                continue;
            }
            int erreur = 0;
            socklen_t taille = sizeof erreur;
            ::getsockopt(attente[i].fd, SOL_SOCKET, SO_ERROR, &erreur, &taille);
            if (erreur == 0)
                ++etablies;
            attente.erase(attente.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    for (const int s : sockets)
        ::close(s);
    return etablies;
}

TEST(EcouteServeur, SecondServerOnTheSamePortIsRefused)
{
    tq::test::TDossierTemporaire dossier;
    tq::TServeurStatistiques premier(Configuration(dossier));
    const int port = premier.Lier("127.0.0.1", 0);
    tq::TServeurStatistiques second(Configuration(dossier));
    try {
        second.Lier("127.0.0.1", port);
        FAIL() << "le second serveur a pu écouter sur le port " << port;
    } catch (const tq::Erreur& e) {
        EXPECT_EQ(std::string(e.what()), "Impossible d'écouter sur 127.0.0.1:" + std::to_string(port)
                                             + " : adresse incorrecte ou port déjà pris.");
    }
}

// Before the server accepts anything, the system completes connections only
// as far as the queue goes; the SYNs beyond it are dropped. Sixty clients
// arriving together all get through the handshake.
TEST(EcouteServeur, QueueHoldsManyClientsArrivingTogether)
{
    tq::test::TDossierTemporaire dossier;
    tq::TServeurStatistiques serveur(Configuration(dossier));
    const int port = serveur.Lier("127.0.0.1", 0);
    EXPECT_EQ(ConnexionsEtablies(port, 60, std::chrono::milliseconds(500)), 60);
}

} // namespace
