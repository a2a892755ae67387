#pragma once

#include <chrono>
#include <cstddef>

namespace tq {

// Where the bytes of an answer come from: a connected socket, or a buffer in
// memory for tests and fuzzing.
class TSourceOctets {
public:
    virtual ~TSourceOctets() = default;

    // Reads at least one and at most taille bytes, blocking until some arrive;
    // 0 when the peer has closed the connection. A failure throws.
    virtual std::size_t Lire(char* tampon, std::size_t taille) = 0;

    // Waits at most delai for data or a close to be there to read; false when
    // nothing came in that time.
    virtual bool AttendreDonnees(std::chrono::milliseconds delai) = 0;

protected:
    TSourceOctets() = default;
    TSourceOctets(const TSourceOctets&) = default;
    TSourceOctets& operator=(const TSourceOctets&) = default;
};

} // namespace tq
