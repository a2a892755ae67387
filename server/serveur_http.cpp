#include "server/serveur_http.h"

#include "platform/erreur.h"

#include <httplib.h>
#include <sys/socket.h>

#include <thread>

namespace tq {

namespace {

// A query request is a few hundred bytes; anything far larger is refused
// with status 413 before it is read.
constexpr std::size_t tailleMaximaleRequete = 64 * 1024;

std::string TexteErreurHttp(int statut)
{
    switch (statut) {
    case 400:
        return "Requête HTTP incorrecte.";
    case 404:
        return "Ressource introuvable : le serveur ne répond qu'à POST /.";
    case 405:
        return "Méthode non permise : le serveur ne répond qu'à POST /.";
    case 413:
        return "Requête trop volumineuse.";
    default:
        return "Erreur HTTP " + std::to_string(statut) + ".";
    }
}

} // namespace

TServeurStatistiques::TServeurStatistiques(TConfigurationServeur configuration)
    : configuration_(std::move(configuration))
    , serveur_(std::make_unique<httplib::Server>())
{
    serveur_->set_payload_max_length(tailleMaximaleRequete);
    // SO_REUSEADDR lets the server restart at once on its port; the library's
    // default adds SO_REUSEPORT, which would let a second server bind the same
    // port and silently take half of the connections. The socket is kept so
    // that its queue can be raised once bound.
    serveur_->set_socket_options([this](int socket) {
        const int oui = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &oui, sizeof oui);
        socketEcoute_ = socket;
    });
    serveur_->Post("/", [this](const httplib::Request& requete, httplib::Response& reponse) {
        const TReponse r = Repondre(requete.body, configuration_);
        reponse.status = r.statut;
        reponse.set_content(r.corps, r.typeContenu.c_str());
    });
    // Another path or method, or a malformed request, gets a readable text
    // rather than an empty body; the answers of Repondre are kept as they are.
    serveur_->set_error_handler(
        httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& reponse) {
            if (!reponse.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            reponse.set_content(TexteErreurHttp(reponse.status), typeTexte);
            return httplib::Server::HandlerResponse::Handled;
        }));
}

TServeurStatistiques::~TServeurStatistiques() = default;

int TServeurStatistiques::Lier(const std::string& adresse, int port)
{
    const int lie =
        port == 0 ? serveur_->bind_to_any_port(adresse) : (serveur_->bind_to_port(adresse, port) ? port : -1);
    if (lie < 0)
        throw Erreur("Impossible d'écouter sur " + adresse + ":" + std::to_string(port)
                     + " : adresse incorrecte ou port déjà pris.");
    // The library listens with a queue of 5 pending connections: clients
    // arriving together overflow it and the system resets some of them.
    // Listening again on the bound socket only changes the queue's length.
    ::listen(socketEcoute_, SOMAXCONN);
    return lie;
}

void TServeurStatistiques::Ecouter()
{
    ecouteDemandee_ = true;
    if (!arretDemande_)
        serveur_->listen_after_bind();
    ecouteTerminee_ = true;
}

void TServeurStatistiques::Arreter()
{
    arretDemande_ = true;
    // The library ignores a stop before its loop runs, so wait for the loop
    // once Ecouter has committed to starting it.
    while (ecouteDemandee_ && !ecouteTerminee_ && !serveur_->is_running())
        std::this_thread::yield();
    serveur_->stop();
}

} // namespace tq
