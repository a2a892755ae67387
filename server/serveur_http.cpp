#include "server/serveur_http.h"

#include "platform/erreur.h"
#include "server/attente_requetes.h"
#include "server/flux_requete.h"

#include <httplib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace tq {

namespace {

// A query request is a few hundred bytes; anything far larger is refused
// with status 413 as soon as it passes this, however its body is framed.
constexpr TLimitesRequete limitesRequete { 16 * 1024, 64 * 1024 };

std::string TexteErreurHttp(int statut)
{
    switch (statut) {
    case 400:
        return "Requête HTTP incorrecte.";
    case 404:
        return "Ressource introuvable : le serveur ne répond qu'à POST /.";
    case 405:
        return "Méthode non permise : le serveur ne répond qu'à POST /.";
    case 408:
        return "Délai dépassé : la requête n'est pas arrivée entière à temps.";
    case 413:
        return "Requête trop volumineuse.";
    case 415:
        return "Corps compressé refusé : le serveur n'accepte que des corps sans Content-Encoding.";
    case 431:
        return "En-tête de requête trop volumineux.";
    default:
        return "Erreur HTTP " + std::to_string(statut) + ".";
    }
}

// The answer to a request refused before the HTTP library saw it, in the
// form the library gives its own answers.
std::string ReponseRefus(TEtatArrivee etat)
{
    int statut = 400;
    const char* raison = "Bad Request";
    switch (etat) {
    case TEtatArrivee::EnCours:
        statut = 408, raison = "Request Timeout";
        break;
    case TEtatArrivee::TropVolumineuse:
        statut = 413, raison = "Payload Too Large";
        break;
    case TEtatArrivee::EncodageRefuse:
        statut = 415, raison = "Unsupported Media Type";
        break;
    case TEtatArrivee::EnteteTropVolumineux:
        statut = 431, raison = "Request Header Fields Too Large";
        break;
    default:
        break;
    }
    const std::string corps = TexteErreurHttp(statut);
    return "HTTP/1.1 " + std::to_string(statut) + " " + raison + "\r\nConnection: close\r\nContent-Length: "
         + std::to_string(corps.size()) + "\r\nContent-Type: " + typeTexte + "\r\n\r\n" + corps;
}

} // namespace

// The HTTP library's server, given each accepted connection's socket: the
// request is awaited off its workers, then served from the bytes received.
class TServeurHttp : public httplib::Server {
public:
    TAttenteRequetes* attente = nullptr;

    void Servir(httplib::Stream& flux)
    {
        bool fermee = false;
        process_request(flux, true, fermee, [](httplib::Request&) {});
    }

private:
    bool process_and_close_socket(socket_t socket) override
    {
        if (attente != nullptr)
            attente->Accueillir(socket);
        else
            ::close(socket);
        return true;
    }
};

TServeurStatistiques::TServeurStatistiques(TConfigurationServeur configuration)
    : configuration_(std::move(configuration))
    , serveur_(std::make_unique<TServeurHttp>())
{
    // Only whole requests within the limits reach the library; this is a
    // second guard.
    serveur_->set_payload_max_length(limitesRequete.corps);
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

void TServeurStatistiques::Traiter(int socket, TEtatArrivee etat, const std::string& requete)
{
    const auto echeance = std::chrono::steady_clock::now() + configuration_.delaiRequete;
    if (etat == TEtatArrivee::Complete) {
        TFluxRequete flux(socket, requete, echeance);
        serveur_->Servir(flux);
    } else {
        EcrireSurSocket(socket, ReponseRefus(etat), echeance);
    }
    attente_->Congedier(socket);
}

void TServeurStatistiques::Ecouter()
{
    ecouteDemandee_ = true;
    if (!arretDemande_) {
        travailleurs_ = std::make_unique<httplib::ThreadPool>(std::max(8u, std::thread::hardware_concurrency()));
        attente_ = std::make_unique<TAttenteRequetes>(
            limitesRequete, configuration_.delaiRequete, [this](int socket, TEtatArrivee etat, std::string requete) {
                travailleurs_->enqueue(
                    [this, socket, etat, requete = std::move(requete)]() { Traiter(socket, etat, requete); });
            });
        serveur_->attente = attente_.get();
        serveur_->listen_after_bind();
        // No connection is taken any more; those still waiting are closed,
        // those being answered finish, then close as they come back.
        attente_->Arreter();
        travailleurs_->shutdown();
        travailleurs_.reset();
    }
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
