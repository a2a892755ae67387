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
    : m_configuration(std::move(configuration))
    , m_serveur(std::make_unique<httplib::Server>())
{
    m_serveur->set_payload_max_length(tailleMaximaleRequete);
    // SO_REUSEADDR lets the server restart at once on its port; the library's
    // default adds SO_REUSEPORT, which would let a second server bind the same
    // port and silently take half of the connections. The socket is kept so
    // that its queue can be raised once bound.
    m_serveur->set_socket_options([this](int socket) {
        const int oui = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &oui, sizeof oui);
        m_socketEcoute = socket;
    });
    m_serveur->Post("/", [this](const httplib::Request& requete, httplib::Response& reponse) {
        const TReponse r = Repondre(requete.body, m_configuration);
        reponse.status = r.statut;
        reponse.set_content(r.corps, r.typeContenu.c_str());
    });
    // Another path or method, or a malformed request, gets a readable text
    // rather than an empty body; the answers of Repondre are kept as they are.
    m_serveur->set_error_handler(httplib::Server::HandlerWithResponse(
        [](const httplib::Request&, httplib::Response& reponse) {
            if (!reponse.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            reponse.set_content(TexteErreurHttp(reponse.status), typeTexte);
            return httplib::Server::HandlerResponse::Handled;
        }));
}

TServeurStatistiques::~TServeurStatistiques() = default;

int TServeurStatistiques::Lier(const std::string& adresse, int port)
{
    const int lie = port == 0 ? m_serveur->bind_to_any_port(adresse)
                              : (m_serveur->bind_to_port(adresse, port) ? port : -1);
    if (lie < 0)
        throw Erreur("Impossible d'écouter sur " + adresse + ":" + std::to_string(port)
                     + " : adresse incorrecte ou port déjà pris.");
    // The library listens with a queue of 5 pending connections: clients
    // arriving together overflow it and the system resets some of them.
    // Listening again on the bound socket only changes the queue's length.
    ::listen(m_socketEcoute, SOMAXCONN);
    return lie;
}

void TServeurStatistiques::Ecouter()
{
    m_ecouteDemandee = true;
    if (!m_arretDemande)
        m_serveur->listen_after_bind();
    m_ecouteTerminee = true;
}

void TServeurStatistiques::Arreter()
{
    m_arretDemande = true;
    // The library ignores a stop before its loop runs, so wait for the loop
    // once Ecouter has committed to starting it.
    while (m_ecouteDemandee && !m_ecouteTerminee && !m_serveur->is_running())
        std::this_thread::yield();
    m_serveur->stop();
}

} // namespace tq
