#include "server/attente_requetes.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace tq {

using std::chrono::steady_clock;

TAttenteRequetes::TAttenteRequetes(TLimitesRequete limites, std::chrono::milliseconds delai, TLivraison livrer)
    : limites_(limites)
    , delai_(delai)
    , livrer_(std::move(livrer))
    , reveil_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    , tampon_(64 * 1024)
{
    if (reveil_ < 0)
        throw std::runtime_error("eventfd");
    fil_ = std::thread([this]() { Attendre(); });
}

TAttenteRequetes::~TAttenteRequetes()
{
    Arreter();
    ::close(reveil_);
}

void TAttenteRequetes::Prendre(int socket, bool conge)
{
    {
        std::lock_guard<std::mutex> garde(verrou_);
        if (!arret_) {
            entrantes_.emplace_back(socket, conge);
            const std::uint64_t un = 1;
            [[maybe_unused]] const ssize_t ecrits = ::write(reveil_, &un, sizeof un);
            return;
        }
    }
    ::close(socket);
}

void TAttenteRequetes::Accueillir(int socket)
{
    Prendre(socket, false);
}

void TAttenteRequetes::Congedier(int socket)
{
    ::shutdown(socket, SHUT_WR);
    Prendre(socket, true);
}

void TAttenteRequetes::Arreter()
{
    {
        std::lock_guard<std::mutex> garde(verrou_);
        arret_ = true;
        const std::uint64_t un = 1;
        [[maybe_unused]] const ssize_t ecrits = ::write(reveil_, &un, sizeof un);
    }
    if (fil_.joinable() && fil_.get_id() != std::this_thread::get_id())
        fil_.join();
}

bool TAttenteRequetes::Lire(TConnexion& connexion)
{
    const ssize_t lus = ::recv(connexion.socket, tampon_.data(), tampon_.size(), MSG_DONTWAIT);
    if (lus < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return true;
    if (connexion.conge) {
        if (lus > 0)
            return true;
        ::close(connexion.socket);
        return false;
    }
    const TEtatArrivee etat = lus > 0  ? connexion.arrivee.Ajouter(std::string_view(tampon_.data(), lus))
                            : lus == 0 ? connexion.arrivee.Fin()
                                       : TEtatArrivee::EnCours;
    if (etat != TEtatArrivee::EnCours) {
        livrer_(connexion.socket, etat, connexion.arrivee.Octets());
        return false;
    }
    if (lus <= 0) {
        // The client left, or its connection failed, before its request
        // was whole: nobody to answer.
        ::close(connexion.socket);
        return false;
    }
    return true;
}

void TAttenteRequetes::Attendre()
{
    std::vector<pollfd> attente;
    while (PrendreEntrantes()) {
        // The wake-up first, then one entry per connection in its order.
        attente.assign(1, pollfd { reveil_, POLLIN, 0 });
        for (const TConnexion& c : connexions_)
            attente.push_back({ c.socket, POLLIN, 0 });
        if (::poll(attente.data(), attente.size(), DelaiProchaineEcheance()) < 0 && errno != EINTR)
            break;
        if (attente[0].revents != 0) {
            std::uint64_t valeur;
            [[maybe_unused]] const ssize_t lus = ::read(reveil_, &valeur, sizeof valeur);
        }
        Suivre(attente);
    }
    ToutFermer();
}

bool TAttenteRequetes::PrendreEntrantes()
{
    std::lock_guard<std::mutex> garde(verrou_);
    if (arret_)
        return false;
    const auto echeance = steady_clock::now() + delai_;
    for (const auto& [socket, conge] : entrantes_)
        connexions_.push_back({ socket, conge, TArriveeRequete(limites_), echeance });
    entrantes_.clear();
    return true;
}

int TAttenteRequetes::DelaiProchaineEcheance() const
{
    auto prochaine = steady_clock::time_point::max();
    for (const TConnexion& c : connexions_)
        prochaine = std::min(prochaine, c.echeance);
    if (prochaine == steady_clock::time_point::max())
        return -1;
    const auto reste = std::chrono::ceil<std::chrono::milliseconds>(prochaine - steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(reste.count(), 0));
}

void TAttenteRequetes::Suivre(const std::vector<pollfd>& attente)
{
    // One read per connection and round, so that a fast sender does not
    // starve the others.
    const auto maintenant = steady_clock::now();
    std::vector<TConnexion> restantes;
    restantes.reserve(connexions_.size());
    for (std::size_t i = 0; i < connexions_.size(); ++i) {
        TConnexion& c = connexions_[i];
        bool garde = true;
        if (attente[i + 1].revents != 0)
            garde = Lire(c);
        if (garde && maintenant >= c.echeance) {
            if (c.conge)
                ::close(c.socket);
            else
                livrer_(c.socket, TEtatArrivee::EnCours, {});
            garde = false;
        }
        if (garde)
            restantes.push_back(std::move(c));
    }
    connexions_ = std::move(restantes);
}

void TAttenteRequetes::ToutFermer()
{
    std::lock_guard<std::mutex> garde(verrou_);
    arret_ = true;
    for (const TConnexion& c : connexions_)
        ::close(c.socket);
    connexions_.clear();
    for (const auto& entrante : entrantes_)
        ::close(entrante.first);
    entrantes_.clear();
}

} // namespace tq
