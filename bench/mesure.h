#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tq::bench {

// What one case needs to know; the table passes it on the command line of
// the process that runs the case.
struct TParametres {
    std::filesystem::path donnees;  // the generated answers and the files written
    std::size_t lignes = 1'000'000; // result lines of the statistics answer
    std::size_t centres = 10'000;   // centres of the centre list
    int repetitions = 5;
    std::uint16_t port = 0; // the loopback server, for the cases that ask it
};

// Times the runs of one case inside its own process and reports them, so
// that the process's peak memory belongs to that case alone.
class TMesure {
public:
    explicit TMesure(int repetitions)
        : repetitions_(repetitions)
    {
    }

    // Runs the body once per repetition; each run is timed from its start to
    // its end, the release of everything it built included.
    template <class F> void Repeter(F&& corps)
    {
        NoterEntree();
        for (int i = 0; i < repetitions_; ++i) {
            DebutRun();
            corps();
            FinRun();
        }
    }

    // Marks the end of a step of the current run: the time since the run's
    // start or the previous mark is reported under that name.
    void Etape(std::string_view nom);

    // A value that every case of a group must give alike (counts of values,
    // of lines...): the table compares them.
    void Controle(std::string texte) { controle_ = std::move(texte); }

    // Writes the report read by the table: the memory held before the first
    // run, the time of every run and the processor time it took (user and
    // system, this process only: the one figure that other loads on the
    // machine barely change), the steps, the check value.
    void Rapporter(std::ostream& sortie) const;

private:
    using THorloge = std::chrono::steady_clock;

    void NoterEntree();
    void DebutRun();
    void FinRun();

    struct TEtape {
        std::string nom;
        std::vector<std::int64_t> durees;
    };

    int repetitions_;
    long entreeKo_ = 0;
    std::vector<std::int64_t> durees_;
    std::vector<std::int64_t> cpu_;
    std::vector<TEtape> etapes_;
    THorloge::time_point debut_ {};
    THorloge::time_point marque_ {};
    std::int64_t cpuDebut_ = 0;
    std::string controle_;
};

// Keeps the compiler from dropping a computation whose result is unused.
template <class T> inline void Garder(const T& valeur)
{
    asm volatile("" : : "r,m"(valeur) : "memory");
}

} // namespace tq::bench
