#pragma once

#include "server/arrivee_requete.h"

#include <poll.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tq {

// Holds the connections whose request is still arriving, on one thread that
// waits for all of them at once, so that a slow client never holds a worker:
// a request is handed on only when it is whole, refused as soon as it passes
// a limit, and given up when it has not arrived whole within the delay,
// however steadily its bytes trickle in. It also closes the connections
// gracefully once answered.
class TAttenteRequetes {
public:
    // Called on the waiting thread, which then no longer owns the socket.
    // `etat` is Complete with the request's bytes, a refusal, or EnCours
    // when the delay ran out first.
    using TLivraison = std::function<void(int socket, TEtatArrivee etat, std::string requete)>;

    TAttenteRequetes(TLimitesRequete limites, std::chrono::milliseconds delai, TLivraison livrer);
    ~TAttenteRequetes();
    TAttenteRequetes(const TAttenteRequetes&) = delete;
    TAttenteRequetes& operator=(const TAttenteRequetes&) = delete;

    // Takes a newly accepted connection and waits for its request.
    void Accueillir(int socket);

    // Takes back an answered connection: its sending side is shut at once,
    // then what the client still sends is read and dropped until it closes
    // or the delay runs out, so that an answer sent before the end of a
    // refused body is not lost to a reset.
    void Congedier(int socket);

    // Closes every connection held; later ones are closed as they come.
    // Called from any thread, more than once.
    void Arreter();

private:
    struct TConnexion {
        int socket;
        bool conge;
        TArriveeRequete arrivee;
        std::chrono::steady_clock::time_point echeance;
    };

    void Prendre(int socket, bool conge);
    void Attendre();
    // The steps of one round of the waiting thread. PrendreEntrantes is
    // false once the waiting is to stop.
    bool PrendreEntrantes();
    int DelaiProchaineEcheance() const;
    void Suivre(const std::vector<pollfd>& attente);
    void ToutFermer();
    // False once the connection has left the waiting (handed on or closed).
    bool Lire(TConnexion& connexion);

    const TLimitesRequete limites_;
    const std::chrono::milliseconds delai_;
    const TLivraison livrer_;
    int reveil_ = -1;

    std::mutex verrou_;
    std::vector<std::pair<int, bool>> entrantes_; // sockets, and whether each is answered
    bool arret_ = false;

    std::vector<TConnexion> connexions_; // the waiting thread's own
    std::vector<char> tampon_;
    std::thread fil_;
};

} // namespace tq
