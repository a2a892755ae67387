#include "http/socket_tcp.h"

#include "http/erreurs_http.h"

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

// Waiting is the system's own; what a wait means is the same everywhere.
bool TSocketTcp::AttendreDonnees(std::chrono::milliseconds delai)
{
    return Attendre(TEvenement::Lecture, delai);
}

void TSocketTcp::AttendreDansLeDelai(TEvenement evenement)
{
    if (!Attendre(evenement, delaiLecture_))
        throw ErreurSocket(NumeroDelaiDepasse);
}

void TSocketTcp::AttendreConnexion(std::chrono::milliseconds delai)
{
    if (!Attendre(TEvenement::Ecriture, delai)) {
        Fermer();
        throw ErreurSocket(NumeroDelaiDepasse);
    }
}

} // namespace tq
