#pragma once

#include <cstdint>
#include <filesystem>

#include <sys/types.h>

namespace tq::bench {

// A loopback HTTP server in a process of its own, so that the cases measure
// the client alone. It reads each request whole (head and Content-Length
// body), answers by path, then closes the connection:
//   /resultats                 the statistics answer, with Content-Length
//   /                          the same, for tq_export, which asks this path
//   /resultats-sans-longueur   the same, framed by the close only
//   /centres                   the centre list, with Content-Length
// Every answer is "application/json; charset=utf-8". One connection at a
// time: the cases run one after the other. The answers are read from their
// files by the server's process only, so the process that starts the cases
// stays small (a child's peak memory counts its parent's at the start).
class TServeurBench {
public:
    TServeurBench(const std::filesystem::path& resultats, const std::filesystem::path& centres);
    ~TServeurBench();
    TServeurBench(const TServeurBench&) = delete;
    TServeurBench& operator=(const TServeurBench&) = delete;

    std::uint16_t Port() const { return port_; }

private:
    std::uint16_t port_ = 0;
    pid_t processus_ = -1;
};

} // namespace tq::bench
