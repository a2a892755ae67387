#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tq {

// The limits that keep a client from waiting or growing without end. The
// system always uses these defaults; tests shorten or lower them.
struct TReglagesClientHttp {
    // A connection attempt that has not succeeded by then fails with 10060.
    std::chrono::milliseconds delaiConnexion { 30'000 };
    // A read or send that makes no progress for that long fails with 10060.
    std::chrono::milliseconds delaiLecture { 300'000 };
    // How long a redirection answer may take to start its body before it is
    // taken to have none.
    std::chrono::milliseconds delaiCorpsRedirection { 5'000 };
    // Header lines (trailer lines included) accepted in one answer.
    std::size_t lignesEnteteMax = 255;
    // Body bytes accepted in one answer.
    std::uint64_t tailleCorpsMax = std::uint64_t(1) << 30;
};

} // namespace tq
