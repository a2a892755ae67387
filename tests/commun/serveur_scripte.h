#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tq::test {

// One write of the scripted answer, after an optional pause.
struct TEtapeServeur {
    std::string octets;
    std::chrono::milliseconds pause { 0 };
};

// What the server does with the connection once its script is played.
enum class TFinServeur {
    Fermer,        // closes it cleanly
    GarderOuverte, // keeps it open, silent, until the server stops
    Reinitialiser, // aborts it (the client sees a reset)
};

// Whether the server reads the request before it plays its script.
enum class TLectureRequete {
    Complete, // the head and as many body bytes as its Content-Length says
    Aucune,   // nothing: it answers (or closes) straight away
};

// An HTTP server on 127.0.0.1 for tests: it listens on a port of the
// system's choosing, records the first connection's request bytes, plays
// scripted bytes back and counts the connections it accepts. Its thread is
// stopped and joined by Arreter() or the destructor.
class TServeurScripte {
public:
    explicit TServeurScripte(std::vector<TEtapeServeur> script, TFinServeur fin = TFinServeur::Fermer,
                             TLectureRequete lecture = TLectureRequete::Complete);
    ~TServeurScripte();
    TServeurScripte(const TServeurScripte&) = delete;
    TServeurScripte& operator=(const TServeurScripte&) = delete;

    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:PORT"
    std::string Url() const;

    // Stops the server and waits for its thread; the records below are
    // complete after it.
    void Arreter();
    // The request bytes of the first connection (stops the server first).
    std::string Requete();
    // Connections accepted (stops the server first).
    int NombreConnexions();

private:
    void Servir();
    void Traiter(int client);
    bool Pause(std::chrono::milliseconds duree) const;

    std::vector<TEtapeServeur> script_;
    TFinServeur fin_;
    TLectureRequete lecture_;
    int ecoute_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> arret_ { false };
    std::mutex mutex_;
    std::string requete_;
    int connexions_ = 0;
    std::thread fil_;
};

// A port on 127.0.0.1 where nothing listens: connecting is refused.
std::uint16_t PortFerme();

// A listening socket whose queue is full, so that a further connection
// attempt is neither accepted nor refused and waits.
class TEcouteSaturee {
public:
    TEcouteSaturee();
    ~TEcouteSaturee();
    TEcouteSaturee(const TEcouteSaturee&) = delete;
    TEcouteSaturee& operator=(const TEcouteSaturee&) = delete;
    std::uint16_t Port() const { return port_; }

private:
    int ecoute_ = -1;
    std::vector<int> occupants_;
    std::uint16_t port_ = 0;
};

} // namespace tq::test
