#include "bench/mesure.h"

#include <algorithm>
#include <ostream>

#include <sys/resource.h>

namespace tq::bench {

namespace {

std::int64_t Nanosecondes(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
}

void EcrireDurees(std::ostream& sortie, const std::vector<std::int64_t>& durees)
{
    for (std::int64_t d : durees)
        sortie << ' ' << d;
    sortie << '\n';
}

// Processor time used by this process so far, user and system.
std::int64_t TempsProcesseur()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto ns = [](const timeval& t) {
        return std::int64_t { t.tv_sec } * 1'000'000'000 + std::int64_t { t.tv_usec } * 1000;
    };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

} // namespace

void TMesure::NoterEntree()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    entreeKo_ = usage.ru_maxrss;
}

void TMesure::DebutRun()
{
    cpuDebut_ = TempsProcesseur();
    debut_ = THorloge::now();
    marque_ = debut_;
}

void TMesure::FinRun()
{
    durees_.push_back(Nanosecondes(THorloge::now() - debut_));
    cpu_.push_back(TempsProcesseur() - cpuDebut_);
}

void TMesure::Etape(std::string_view nom)
{
    const THorloge::time_point maintenant = THorloge::now();
    auto etape = std::find_if(etapes_.begin(), etapes_.end(), [nom](const TEtape& e) { return e.nom == nom; });
    if (etape == etapes_.end())
        etape = etapes_.insert(etapes_.end(), TEtape { std::string(nom), {} });
    etape->durees.push_back(Nanosecondes(maintenant - marque_));
    marque_ = maintenant;
}

void TMesure::Rapporter(std::ostream& sortie) const
{
    sortie << "entree " << entreeKo_ << '\n';
    sortie << "temps";
    EcrireDurees(sortie, durees_);
    sortie << "cpu";
    EcrireDurees(sortie, cpu_);
    for (const TEtape& etape : etapes_) {
        sortie << "etape " << etape.nom;
        EcrireDurees(sortie, etape.durees);
    }
    sortie << "controle " << controle_ << '\n';
}

} // namespace tq::bench
