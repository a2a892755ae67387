#pragma once

#include <httplib.h>

#include <chrono>
#include <string>
#include <string_view>

namespace tq {

// Writes all of `octets` on the socket, waiting for room as needed, until the
// deadline at most. False when the connection failed or the time ran out.
bool EcrireSurSocket(int socket, std::string_view octets, std::chrono::steady_clock::time_point echeance);

// What the HTTP library reads a request from and writes its answer to: the
// request already received whole, then the socket for the answer, which
// must be gone by the deadline.
class TFluxRequete : public httplib::Stream {
public:
    TFluxRequete(int socket, std::string requete, std::chrono::steady_clock::time_point echeance);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

private:
    int socket_;
    std::string requete_;
    std::size_t lus_ = 0;
    std::chrono::steady_clock::time_point echeance_;
};

} // namespace tq
