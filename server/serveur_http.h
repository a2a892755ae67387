#pragma once

#include "server/arrivee_requete.h"
#include "server/reponse.h"

#include <atomic>
#include <memory>
#include <string>

namespace httplib {
class ThreadPool;
}

namespace tq {

class TAttenteRequetes;
class TServeurHttp;

// The statistics service over HTTP: POST "/" answers a query request (see
// Repondre); any other method or path gets a short French text with its
// error status. One thread waits for the requests while they arrive (see
// TAttenteRequetes); each whole request is then served on a pool of
// threads, each opening the base for itself. One request per connection.
class TServeurStatistiques {
public:
    explicit TServeurStatistiques(TConfigurationServeur configuration);
    ~TServeurStatistiques();
    TServeurStatistiques(const TServeurStatistiques&) = delete;
    TServeurStatistiques& operator=(const TServeurStatistiques&) = delete;

    // Binds the listening socket and returns its port; port 0 takes a free
    // one. Raises Erreur when the address cannot be bound.
    int Lier(const std::string& adresse, int port);

    // Serves until Arreter is called (from another thread).
    void Ecouter();

    // Stops Ecouter, or keeps it from starting if it has not started yet.
    // May be called from any thread, and more than once.
    void Arreter();

private:
    void Traiter(int socket, TEtatArrivee etat, const std::string& requete);

    TConfigurationServeur configuration_;
    std::unique_ptr<TServeurHttp> serveur_;
    std::unique_ptr<TAttenteRequetes> attente_;
    std::unique_ptr<httplib::ThreadPool> travailleurs_;
    int socketEcoute_ = -1;
    std::atomic<bool> ecouteDemandee_ { false };
    std::atomic<bool> ecouteTerminee_ { false };
    std::atomic<bool> arretDemande_ { false };
};

} // namespace tq
