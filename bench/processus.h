#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace tq::bench {

struct TParametresProcessus {
    std::filesystem::path donnees;
    std::vector<std::size_t> tailles { 10'000, 100'000, 1'000'000 }; // result lines of each answer
    int repetitions = 15;
    std::string tqExport = TQ_EXPORT_PROGRAMME; // another build's, to compare
};

// End to end as whole processes: `tq_export acces` against the reference
// program (tq_reference_acces: socket, simdjson, table writer), without and
// with fsync, each started afresh against the loopback server for every run,
// the programs in turn (the order reversed every other round), after one
// run of each that is not counted; the disk is synchronised after each run,
// outside its time. Writes the medians and their ratios in
// Markdown; false when a program fails or their files differ by one byte.
bool ExecuterProcessus(const TParametresProcessus& parametres, std::ostream& sortie);

} // namespace tq::bench
