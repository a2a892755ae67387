#pragma once

#include "http/source_octets.h"

#include <string>
#include <string_view>
#include <vector>

namespace tq {

// What a source in memory does once its bytes are all read.
enum class TFinSource {
    Fermeture, // the peer closes the connection
    Silence,   // the peer keeps it open and sends nothing more
};

// Bytes held in memory, handed out in the piece sizes given (cycled; a piece
// of 0 means "whatever is asked"), to show the reader every way a stream can
// be cut.
class TSourceMemoire final : public TSourceOctets {
public:
    explicit TSourceMemoire(std::string octets, std::vector<std::size_t> pieces = {},
                            TFinSource fin = TFinSource::Fermeture);

    std::size_t Lire(char* tampon, std::size_t taille) override;
    bool AttendreDonnees(std::chrono::milliseconds delai) override;

private:
    std::string octets_;
    std::vector<std::size_t> pieces_;
    TFinSource fin_;
    std::size_t position_ = 0;
    std::size_t piece_ = 0;
};

} // namespace tq
