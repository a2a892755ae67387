#pragma once

#include <string>
#include <vector>

#include "bench/mesure.h"

namespace tq::bench {

// What the table learns from the process that ran one case.
struct TResultatCas {
    std::string nom;
    bool reussi = false;
    std::string erreur;        // why it failed, when it did
    std::vector<double> ms;    // every run, in milliseconds
    std::vector<double> cpuMs; // processor time of every run
    struct TEtape {
        std::string nom;
        std::vector<double> ms;
    };
    std::vector<TEtape> etapes;
    double rssPicMo = 0; // peak resident memory of the process
    double entreeMo = 0; // of which held before the first run
    std::string controle;

    double Min() const;
    double Mediane() const;
};

double Mediane(std::vector<double> valeurs);

// Runs the case in a new process of this program ("cas NAME ...") and reads
// its report; the peak memory comes from the kernel's account of the child.
TResultatCas ExecuterCas(const std::string& nom, const TParametres& parametres);

// Runs "tq_bench COMMAND" with the parameters in a new process and waits for
// it; empty when it succeeded, else what went wrong.
std::string ExecuterCommande(const std::string& commande, const TParametres& parametres);

// The arguments that pass the parameters to a case process.
std::vector<std::string> ArgumentsParametres(const TParametres& parametres);

} // namespace tq::bench
