#include "results/arret_par_signal.h"

#include <atomic>
#include <csignal>

#include <unistd.h>

#include "results/temporaire_en_attente.h"

namespace tq {

namespace {

// Read by the signal handler: an atomic pointer to a text prepared in
// advance, so that the handler only has to call unlink.
std::atomic<const char*> temporaireAnnonce { nullptr };
static_assert(std::atomic<const char*>::is_always_lock_free);

void SupprimerPuisMourir(int signal)
{
    if (const char* chemin = temporaireAnnonce.exchange(nullptr))
        ::unlink(chemin);
    // The signal, blocked while it is handled, comes back with its own
    // action once the handler returns: the process ends by it, and its parent
    // sees which signal ended it.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

void AnnoncerTemporaire(const char* chemin) noexcept
{
    const char* aucun = nullptr;
    temporaireAnnonce.compare_exchange_strong(aucun, chemin);
}

void RetirerTemporaire(const char* chemin) noexcept
{
    temporaireAnnonce.compare_exchange_strong(chemin, nullptr);
}

void SupprimerTemporaireAuxSignauxDArret()
{
    constexpr int signaux[] = { SIGTERM, SIGINT, SIGHUP };
    struct sigaction action { };
    action.sa_handler = SupprimerPuisMourir;
    sigemptyset(&action.sa_mask);
    for (const int signal : signaux)
        sigaddset(&action.sa_mask, signal);
    for (const int signal : signaux) {
        struct sigaction avant { };
        if (::sigaction(signal, nullptr, &avant) == 0 && avant.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace tq
