#pragma once

// Helpers shared by the server's tests: a temporary folder, a server running
// on a thread, and readers for the answers.

#include "server/json_requete.h"
#include "server/serveur_http.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace tq::test {

// A fresh folder under the system's temporary folder, removed with its
// content at the end of the scope.
class TDossierTemporaire {
public:
    TDossierTemporaire();
    ~TDossierTemporaire();
    TDossierTemporaire(const TDossierTemporaire&) = delete;
    TDossierTemporaire& operator=(const TDossierTemporaire&) = delete;

    std::string Chemin(const std::string& nom) const { return (dossier_ / nom).string(); }

private:
    std::filesystem::path dossier_;
};

// The server on 127.0.0.1 and a free port, serving on its own thread until
// the end of the scope.
class TServeurEnFond {
public:
    explicit TServeurEnFond(TConfigurationServeur configuration);
    ~TServeurEnFond();
    TServeurEnFond(const TServeurEnFond&) = delete;
    TServeurEnFond& operator=(const TServeurEnFond&) = delete;

    int Port() const { return port_; }

private:
    TServeurStatistiques serveur_;
    int port_ = 0;
    std::thread fil_;
};

// A raw TCP connection to 127.0.0.1, for requests no HTTP client would send.
class TConnexionBrute {
public:
    explicit TConnexionBrute(int port);
    ~TConnexionBrute();
    TConnexionBrute(const TConnexionBrute&) = delete;
    TConnexionBrute& operator=(const TConnexionBrute&) = delete;

    // False once the server has closed or reset the connection.
    bool Envoyer(std::string_view octets);

    // Whether the server has answered or closed within the wait.
    bool ReponseOuFermeture(std::chrono::milliseconds attente);

    // Everything up to the server's close (at most 30 s, as a guard).
    std::string LireJusquALaFermeture();

private:
    int socket_ = -1;
};

// The query request exactly as the client builds it; null dates when empty.
std::string TexteRequete(int type, int requeteId, const std::string& debut = {}, const std::string& fin = {});

// The answer body read as JSON (it must be valid UTF-8).
TValeurJson LireReponse(const std::string& corps);

// The texts of the "resultats" array of an answer.
std::vector<std::u16string> Resultats(const std::string& corps);

// One CSV record split into its fields, quotes removed and doubled quotes
// made single.
std::vector<std::u16string> Champs(std::u16string_view ligne);

} // namespace tq::test
