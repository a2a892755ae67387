#pragma once

#include "http/source_octets.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tq {

// A TCP connection over IPv4, owned: moved, never copied, closed when
// destroyed. Every wait is bounded; a failure throws ErreurSocket with the
// Windows Sockets number of the system error.
class TSocketTcp final : public TSourceOctets {
public:
    TSocketTcp() = default;
    ~TSocketTcp() override;
    TSocketTcp(TSocketTcp&& autre) noexcept;
    TSocketTcp& operator=(TSocketTcp&& autre) noexcept;
    TSocketTcp(const TSocketTcp&) = delete;
    TSocketTcp& operator=(const TSocketTcp&) = delete;

    // Connects to the address (network byte order) and port, giving up after
    // delaiConnexion; later sends and reads give up after delaiLecture
    // without progress. Both give up as error 10060.
    void Connecter(std::uint32_t adresse, std::uint16_t port, std::chrono::milliseconds delaiConnexion,
                   std::chrono::milliseconds delaiLecture);

    // Sends every byte.
    void Envoyer(std::string_view octets);

    std::size_t Lire(char* tampon, std::size_t taille) override;
    bool AttendreDonnees(std::chrono::milliseconds delai) override;

    void Fermer();

private:
    // Largest piece handed to one send.
    static constexpr std::size_t TaillePieceEnvoi = 32768;

    enum class TEvenement { Lecture, Ecriture };

    // Waits for the event; false when the time ran out.
    bool Attendre(TEvenement evenement, std::chrono::milliseconds delai);

    // Waits for the event within the read delay: a send or a read that makes
    // no progress by then gives up with error 10060.
    void AttendreDansLeDelai(TEvenement evenement);

    // Waits for the connection under way; one not made within the delay is
    // closed and gives up with error 10060.
    void AttendreConnexion(std::chrono::milliseconds delai);

    // The system's handle: a file descriptor, or a Windows socket (whose
    // INVALID_SOCKET reads as -1 here).
    std::intptr_t fd_ = -1;
    std::chrono::milliseconds delaiLecture_ { 0 };
};

} // namespace tq
