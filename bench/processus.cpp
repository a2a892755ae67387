#include "bench/processus.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/donnees.h"
#include "bench/execution_cas.h"
#include "bench/serveur_bench.h"

extern char** environ;

namespace tq::bench {

namespace {

// One program of the comparison and what it took on every run.
struct TProgramme {
    const char* nom;
    std::vector<std::string> arguments; // the file and the port are added
    std::vector<double> ms {};
    std::vector<double> cpuMs {};
    std::vector<double> rssMo {};
    std::filesystem::path fichier {};
};

// Starts the program, waits for it; its wall time, processor time (user and
// system) and peak memory. Standard output and error go to /dev/null.
void Executer(TProgramme& programme, bool compter)
{
    std::vector<char*> argv;
    for (std::string& a : programme.arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto debut = std::chrono::steady_clock::now();
    pid_t enfant = -1;
    const int echec = posix_spawn(&enfant, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (echec != 0)
        throw std::runtime_error(std::string("cannot start ") + argv[0]);
    int statut = 0;
    rusage usage {};
    while (wait4(enfant, &statut, 0, &usage) < 0 && errno == EINTR) { }
    const auto fin = std::chrono::steady_clock::now();
    // The file that a run leaves unsynchronised would otherwise go to disk
    // during the next runs, and the fsync of tq_export (or of the reference
    // with fsync) wait for it: every run starts with nothing left to write.
    ::sync();
    if (!WIFEXITED(statut) || WEXITSTATUS(statut) != 0)
        throw std::runtime_error(std::string(programme.nom) + " failed");
    if (!compter)
        return;
    auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    programme.ms.push_back(std::chrono::duration<double, std::milli>(fin - debut).count());
    programme.cpuMs.push_back(ms(usage.ru_utime) + ms(usage.ru_stime));
    programme.rssMo.push_back(static_cast<double>(usage.ru_maxrss) / 1024);
}

std::string Format(double valeur, int decimales = 1)
{
    char texte[32];
    std::snprintf(texte, sizeof texte, "%.*f", decimales, valeur);
    return texte;
}

std::string Ratio(double a, double b)
{
    return b > 0 ? Format(a / b, 2) + "x" : "–";
}

} // namespace

bool ExecuterProcessus(const TParametresProcessus& parametres, std::ostream& sortie)
{
    sortie
        << "| Lines | answer MB | tq_export ms | reference ms | ratio | target | tq_export cpu ms | reference cpu ms "
           "| cpu ratio | reference + fsync ms | ratio | tq_export peak RSS MB | reference peak RSS MB |\n"
           "|---:|---:|---:|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|\n";
    bool reussi = true;
    for (const std::size_t lignes : parametres.tailles) {
        TParametres donnees;
        donnees.donnees = parametres.donnees;
        donnees.lignes = lignes;
        PreparerDonnees(donnees);
        const TServeurBench serveur(FichierResultats(donnees), FichierCentres(donnees));
        const std::string port = std::to_string(serveur.Port());
        auto fichier = [&](const char* nom) {
            return parametres.donnees / ("processus-" + std::string(nom) + "-" + std::to_string(lignes) + ".csv");
        };
        TProgramme programmes[] = {
            { "tq_export", { parametres.tqExport, "acces", fichier("tq_export"), "--serveur", "127.0.0.1:" + port } },
            { "reference", { TQ_REFERENCE_ACCES, port, fichier("reference") } },
            { "reference_fsync", { TQ_REFERENCE_ACCES, port, fichier("reference_fsync"), "--fsync" } },
        };
        for (TProgramme& p : programmes) {
            p.fichier = fichier(p.nom);
            Executer(p, false);
        }
        for (int tour = 0; tour < parametres.repetitions; ++tour)
            for (int i = 0; i < 3; ++i)
                Executer(programmes[tour % 2 == 0 ? i : 2 - i], true);
        const std::string attendu = LireFichier(programmes[0].fichier);
        for (const TProgramme& p : programmes) {
            if (LireFichier(p.fichier) != attendu) {
                sortie << "\n" << p.nom << " wrote other bytes than tq_export at " << lignes << " lines\n";
                reussi = false;
            }
        }
        const TProgramme& tq = programmes[0];
        const TProgramme& ref = programmes[1];
        const double cible = lignes <= 10'000 ? 1.0 : 0.95;
        const double ratio = Mediane(tq.ms) / Mediane(ref.ms);
        sortie << "| " << lignes << " | "
               << Format(static_cast<double>(std::filesystem::file_size(FichierResultats(donnees))) / 1e6) << " | "
               << Format(Mediane(tq.ms)) << " | " << Format(Mediane(ref.ms)) << " | "
               << Ratio(Mediane(tq.ms), Mediane(ref.ms)) << " | <= " << Format(cible, 2) << "x "
               << (ratio <= cible ? "met" : "missed") << " | " << Format(Mediane(tq.cpuMs)) << " | "
               << Format(Mediane(ref.cpuMs)) << " | " << Ratio(Mediane(tq.cpuMs), Mediane(ref.cpuMs)) << " | "
               << Format(Mediane(programmes[2].ms)) << " | " << Ratio(Mediane(tq.ms), Mediane(programmes[2].ms))
               << " | " << Format(Mediane(tq.rssMo)) << " | " << Format(Mediane(ref.rssMo)) << " |\n";
    }
    sortie << "\n"
           << parametres.repetitions
           << " runs of each program per size, in turn; medians. Every file byte-identical to tq_export's: "
           << (reussi ? "yes" : "NO") << ".\n";
    return reussi;
}

} // namespace tq::bench
