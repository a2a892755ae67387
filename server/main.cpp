// The stand-in statistics server: serves the query requests of the tool
// from an SQLite base, optionally created first with demonstration data.

#include "platform/erreur.h"
#include "platform/texte_utf.h"
#include "server/base.h"
#include "server/demo.h"
#include "server/options.h"
#include "server/serveur_http.h"

#include <csignal>
#include <ctime>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace {

std::chrono::year_month_day AujourdHui()
{
    const std::time_t maintenant = std::time(nullptr);
    std::tm local {};
    localtime_r(&maintenant, &local);
    return std::chrono::year { local.tm_year + 1900 } / std::chrono::month { static_cast<unsigned>(local.tm_mon + 1) }
         / std::chrono::day { static_cast<unsigned>(local.tm_mday) };
}

// Fails at start-up rather than on the first request when the base is
// missing or is not one this server wrote.
void VerifierBase(const std::string& chemin)
{
    tq::TBase base(chemin, tq::TBase::TMode::Lecture);
    tq::TInstruction instruction(base, "SELECT count(*) FROM centre");
    instruction.Etape();
}

int Servir(const tq::TOptions& options)
{
    if (options.demo) {
        const tq::TResumeDemo resume = tq::CreerBaseDemo(options.base, AujourdHui());
        std::cout << "Base de démonstration créée : " << options.base << " (" << resume.centres << " centres, "
                  << resume.joursActivite << " journées d'activité, " << resume.acces << " accès)." << std::endl;
    } else {
        VerifierBase(options.base);
    }

    // SIGINT and SIGTERM are taken by one thread, which stops the server;
    // the mask is set before any other thread exists so that all inherit it.
    sigset_t signaux;
    sigemptyset(&signaux);
    sigaddset(&signaux, SIGINT);
    sigaddset(&signaux, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signaux, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    tq::TServeurStatistiques serveur(tq::TConfigurationServeur { options.base, options.formatDate });
    const int port = serveur.Lier(options.adresse, options.port);
    std::thread gardien([&serveur, signaux]() {
        int signal = 0;
        sigwait(&signaux, &signal);
        serveur.Arreter();
    });

    std::cout << "Serveur de statistiques à l'écoute sur http://" << options.adresse << ":" << port
              << "/ (base : " << options.base << ", dates : " << tq::VersUtf8(options.formatDate.Motif()) << ")."
              << std::endl;
    serveur.Ecouter();

    // Wakes the guard if the server stopped by itself.
    pthread_kill(gardien.native_handle(), SIGTERM);
    gardien.join();
    std::cout << "Serveur arrêté." << std::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    tq::TOptions options;
    try {
        options = tq::LireOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const tq::Erreur& e) {
        std::cerr << e.what() << "\nVoir : tq_serveur_statistiques --aide\n";
        return 2;
    }
    if (options.aide) {
        std::cout << tq::TexteAide();
        return 0;
    }
    if (options.version) {
        std::cout << "tq_serveur_statistiques " TQ_VERSION "\n";
        return 0;
    }
    try {
        return Servir(options);
    } catch (const tq::Erreur& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
