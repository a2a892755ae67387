// tq_bench: the core against the peer libraries.
//
//   tq_bench [--rapide] [--repetitions N] [--seulement PREFIX[,PREFIX...]] [--markdown FILE]
//       generates the inputs if missing, starts the loopback server, runs
//       every case (or those whose names begin with one of the prefixes) in
//       a process of its own and prints the table.
//   tq_bench cas NAME --donnees DIR --lignes N --centres N --repetitions N --port P
//       runs one case in this process and reports it (used by the table; handy
//       under perf or callgrind).
//   tq_bench generer [--rapide]
//       generates the inputs that are missing.
//   tq_bench serveur [--rapide]
//       runs the loopback server alone and prints its port.
//   tq_bench processus [--rapide] [--lignes N]... [--repetitions N] [--markdown FILE]
//                      [--tq-export PROGRAM]
//       tq_export acces against the reference program, whole processes, on
//       10,000, 100,000 and 1,000,000 result lines (--rapide: the first two;
//       --lignes: the sizes given; --tq-export: another build of tq_export).

#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "bench/cas.h"
#include "bench/donnees.h"
#include "bench/processus.h"
#include "bench/serveur_bench.h"
#include "bench/tableau.h"

namespace {

using namespace tq::bench;

constexpr std::size_t LignesRapides = 100'000;

// The options from argv[premier] on, one at a time; Valeur() takes the
// argument that follows the current option.
class TArguments {
public:
    TArguments(int argc, char** argv, int premier)
        : argc_(argc)
        , argv_(argv)
        , i_(premier - 1)
    {
    }

    bool Suivant() { return ++i_ < argc_; }
    std::string_view Option() const { return argv_[i_]; }
    std::string Valeur()
    {
        if (i_ + 1 >= argc_)
            throw std::invalid_argument(std::string(Option()) + " needs a value");
        return argv_[++i_];
    }

private:
    int argc_;
    char** argv_;
    int i_;
};

struct TOptions {
    TParametres parametres;
    std::string filtre;
    std::string markdown;
};

TOptions LireOptions(int argc, char** argv, int premier)
{
    TOptions options;
    options.parametres.donnees = TQ_BENCH_DONNEES;
    for (TArguments arguments(argc, argv, premier); arguments.Suivant();) {
        const std::string_view option = arguments.Option();
        if (option == "--rapide" || option == "--quick")
            options.parametres.lignes = LignesRapides;
        else if (option == "--lignes")
            options.parametres.lignes = std::stoul(arguments.Valeur());
        else if (option == "--centres")
            options.parametres.centres = std::stoul(arguments.Valeur());
        else if (option == "--repetitions")
            options.parametres.repetitions = std::stoi(arguments.Valeur());
        else if (option == "--port")
            options.parametres.port = static_cast<std::uint16_t>(std::stoi(arguments.Valeur()));
        else if (option == "--donnees")
            options.parametres.donnees = arguments.Valeur();
        else if (option == "--seulement")
            options.filtre = arguments.Valeur();
        else if (option == "--markdown")
            options.markdown = arguments.Valeur();
        else
            throw std::invalid_argument("unknown option " + std::string(option));
    }
    if (options.parametres.repetitions < 1)
        throw std::invalid_argument("--repetitions must be at least 1");
    return options;
}

int ExecuterUnCas(std::string_view nom, const TParametres& parametres)
{
    for (const TCas& cas : TousLesCas()) {
        if (cas.nom != nom)
            continue;
        TMesure mesure(parametres.repetitions);
        try {
            cas.executer(parametres, mesure);
        } catch (const std::exception& e) {
            std::cout << "erreur " << e.what() << '\n';
            return 1;
        }
        mesure.Rapporter(std::cout);
        return 0;
    }
    std::cout << "erreur no case named " << nom << '\n';
    return 2;
}

int Servir(const TParametres& parametres)
{
    PreparerDonnees(parametres);
    TServeurBench serveur(FichierResultats(parametres), FichierCentres(parametres));
    std::cout << serveur.Port() << std::endl;
    sigset_t signaux;
    sigemptyset(&signaux);
    sigaddset(&signaux, SIGINT);
    sigaddset(&signaux, SIGTERM);
    sigprocmask(SIG_BLOCK, &signaux, nullptr);
    int signal = 0;
    sigwait(&signaux, &signal);
    return 0;
}

int Processus(int argc, char** argv)
{
    TParametresProcessus parametres;
    parametres.donnees = TQ_BENCH_DONNEES;
    std::vector<std::size_t> tailles;
    std::string markdown;
    for (TArguments arguments(argc, argv, 2); arguments.Suivant();) {
        const std::string_view option = arguments.Option();
        if (option == "--rapide" || option == "--quick")
            parametres.tailles = { 10'000, LignesRapides };
        else if (option == "--lignes")
            tailles.push_back(std::stoul(arguments.Valeur()));
        else if (option == "--repetitions")
            parametres.repetitions = std::stoi(arguments.Valeur());
        else if (option == "--markdown")
            markdown = arguments.Valeur();
        else if (option == "--tq-export")
            parametres.tqExport = arguments.Valeur();
        else
            throw std::invalid_argument("unknown option " + std::string(option));
    }
    if (!tailles.empty())
        parametres.tailles = tailles;
    if (parametres.repetitions < 1)
        throw std::invalid_argument("--repetitions must be at least 1");
    std::ostringstream table;
    const bool reussi = ExecuterProcessus(parametres, table);
    std::cout << table.str();
    if (!markdown.empty())
        std::ofstream(markdown) << table.str();
    return reussi ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string_view commande = argc > 1 ? argv[1] : "";
        if (commande == "cas" && argc > 2)
            return ExecuterUnCas(argv[2], LireOptions(argc, argv, 3).parametres);
        if (commande == "generer") {
            PreparerDonnees(LireOptions(argc, argv, 2).parametres);
            return 0;
        }
        if (commande == "serveur")
            return Servir(LireOptions(argc, argv, 2).parametres);
        if (commande == "processus")
            return Processus(argc, argv);
        const TOptions options = LireOptions(argc, argv, 1);
        std::ostringstream table;
        const bool reussi = ExecuterTableau(options.parametres, options.filtre, table);
        std::cout << table.str();
        if (!options.markdown.empty())
            std::ofstream(options.markdown) << table.str();
        return reussi ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "tq_bench: " << e.what() << '\n';
        return 2;
    }
}
