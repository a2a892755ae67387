#include "tests/http/source_memoire.h"

#include "http/erreurs_http.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tq {

TSourceMemoire::TSourceMemoire(std::string octets, std::vector<std::size_t> pieces, TFinSource fin)
    : octets_(std::move(octets))
    , pieces_(std::move(pieces))
    , fin_(fin)
{
}

std::size_t TSourceMemoire::Lire(char* tampon, std::size_t taille)
{
    if (position_ == octets_.size()) {
        // A silent peer is what a read time-out reports.
        if (fin_ == TFinSource::Silence)
            throw ErreurSocket(NumeroDelaiDepasse);
        return 0;
    }
    std::size_t n = std::min(taille, octets_.size() - position_);
    if (!pieces_.empty()) {
        const std::size_t piece = pieces_[piece_++ % pieces_.size()];
        if (piece != 0)
            n = std::min(n, piece);
    }
    std::memcpy(tampon, octets_.data() + position_, n);
    position_ += n;
    return n;
}

bool TSourceMemoire::AttendreDonnees(std::chrono::milliseconds)
{
    return position_ < octets_.size() || fin_ == TFinSource::Fermeture;
}

} // namespace tq
