#include "bench/execution_cas.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tq::bench {

namespace {

std::vector<double> Millisecondes(std::istringstream& ligne)
{
    std::vector<double> ms;
    long long ns = 0;
    while (ligne >> ns)
        ms.push_back(static_cast<double>(ns) / 1e6);
    return ms;
}

void LireRapport(const std::string& rapport, TResultatCas& resultat)
{
    std::istringstream lignes(rapport);
    std::string ligne;
    while (std::getline(lignes, ligne)) {
        std::istringstream champs(ligne);
        std::string mot;
        champs >> mot;
        if (mot == "entree") {
            long ko = 0;
            champs >> ko;
            resultat.entreeMo = static_cast<double>(ko) / 1024;
        } else if (mot == "temps") {
            resultat.ms = Millisecondes(champs);
        } else if (mot == "cpu") {
            resultat.cpuMs = Millisecondes(champs);
        } else if (mot == "etape") {
            TResultatCas::TEtape etape;
            champs >> etape.nom;
            etape.ms = Millisecondes(champs);
            resultat.etapes.push_back(std::move(etape));
        } else if (mot == "controle") {
            std::getline(champs >> std::ws, resultat.controle);
        } else if (mot == "erreur") {
            std::getline(champs >> std::ws, resultat.erreur);
        }
    }
}

} // namespace

double Mediane(std::vector<double> valeurs)
{
    if (valeurs.empty())
        return 0;
    std::sort(valeurs.begin(), valeurs.end());
    const std::size_t n = valeurs.size();
    return n % 2 == 1 ? valeurs[n / 2] : (valeurs[n / 2 - 1] + valeurs[n / 2]) / 2;
}

double TResultatCas::Min() const
{
    return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end());
}

double TResultatCas::Mediane() const
{
    return bench::Mediane(ms);
}

std::vector<std::string> ArgumentsParametres(const TParametres& parametres)
{
    return { "--donnees", parametres.donnees.string(),        "--lignes",      std::to_string(parametres.lignes),
             "--centres", std::to_string(parametres.centres), "--repetitions", std::to_string(parametres.repetitions),
             "--port",    std::to_string(parametres.port) };
}

namespace {

// A run of this program with the arguments: its standard output, its exit
// status and its resource use.
struct TExecution {
    std::string sortie;
    int statut = 0;
    rusage usage {};
    std::string echec;
};

TExecution Lancer(std::vector<std::string> arguments, const TParametres& parametres)
{
    TExecution execution;
    arguments.insert(arguments.begin(), "/proc/self/exe");
    for (std::string& a : ArgumentsParametres(parametres))
        arguments.push_back(std::move(a));
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int tube[2];
    if (pipe2(tube, O_CLOEXEC) != 0) {
        execution.echec = "pipe";
        return execution;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, tube[1], STDOUT_FILENO);
    pid_t enfant = -1;
    const int echec = posix_spawn(&enfant, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(tube[1]);
    if (echec != 0) {
        close(tube[0]);
        execution.echec = std::string("posix_spawn: ") + std::strerror(echec);
        return execution;
    }
    char tampon[4096];
    for (;;) {
        const ssize_t n = read(tube[0], tampon, sizeof tampon);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        execution.sortie.append(tampon, static_cast<std::size_t>(n));
    }
    close(tube[0]);
    while (wait4(enfant, &execution.statut, 0, &execution.usage) < 0 && errno == EINTR) { }
    if (WIFSIGNALED(execution.statut))
        execution.echec = "killed by signal " + std::to_string(WTERMSIG(execution.statut));
    else if (WEXITSTATUS(execution.statut) != 0)
        execution.echec = "exit status " + std::to_string(WEXITSTATUS(execution.statut));
    return execution;
}

} // namespace

std::string ExecuterCommande(const std::string& commande, const TParametres& parametres)
{
    return Lancer({ commande }, parametres).echec;
}

TResultatCas ExecuterCas(const std::string& nom, const TParametres& parametres)
{
    TResultatCas resultat;
    resultat.nom = nom;
    const TExecution execution = Lancer({ "cas", nom }, parametres);
    LireRapport(execution.sortie, resultat);
    resultat.rssPicMo = static_cast<double>(execution.usage.ru_maxrss) / 1024;
    resultat.reussi = execution.echec.empty() && !resultat.ms.empty();
    if (!resultat.reussi && resultat.erreur.empty())
        resultat.erreur = execution.echec.empty() ? "no report" : execution.echec;
    return resultat;
}

} // namespace tq::bench
