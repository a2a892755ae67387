#pragma once

#include "http/reglages_client_http.h"
#include "http/socket_tcp.h"

#include <string>
#include <string_view>

namespace tq {

// A blocking HTTP/1.0 client. Post connects, sends the request, reads the
// whole answer and returns its body as text; the connection is closed then,
// unless the answer keeps it alive, and at the latest when the client goes.
class TClientHttp {
public:
    // The system uses the default settings; tests shorten or lower them.
    explicit TClientHttp(const TReglagesClientHttp& reglages = {});
    TClientHttp(TClientHttp&&) noexcept = default;
    TClientHttp& operator=(TClientHttp&&) noexcept = default;

    // Posts the body bytes to the "http" URL (UTF-8). A status outside 200 to
    // 299 throws ErreurProtocole; a socket failure ErreurSocket; an answer cut
    // short, a line too long or a limit passed tq::Erreur.
    std::u16string Post(std::string_view url, std::string_view corps);

private:
    TReglagesClientHttp reglages_;
    TSocketTcp socket_;
};

} // namespace tq
