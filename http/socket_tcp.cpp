#include "http/socket_tcp.h"

#include <utility>

namespace tq {

// Moving and destroying a socket are the same everywhere; only Fermer() is
// the system's own.
TSocketTcp::~TSocketTcp()
{
    Fermer();
}

TSocketTcp::TSocketTcp(TSocketTcp&& autre) noexcept
    : TSourceOctets(autre)
    , fd_(std::exchange(autre.fd_, -1))
    , delaiLecture_(autre.delaiLecture_)
{
}

TSocketTcp& TSocketTcp::operator=(TSocketTcp&& autre) noexcept
{
    if (this != &autre) {
        Fermer();
        fd_ = std::exchange(autre.fd_, -1);
        delaiLecture_ = autre.delaiLecture_;
    }
    return *this;
}

} // namespace tq
