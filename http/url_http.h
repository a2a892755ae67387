#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

// The parts of an "http" URL that the request needs.
struct TUrlHttp {
    std::string hote;      // as written
    std::string textePort; // as written; "80" when absent
    std::uint16_t port = 80;
    std::string cible; // path and query, "/" when the URL has no path
};

// Reads scheme "://" host [":" port] [path]. The scheme must be "http" (any
// case); the fragment is not sent. A URL that is not of this form, or holds a
// blank or a control character, throws tq::Erreur naming it.
TUrlHttp AnalyserUrl(std::string_view url);

} // namespace tq
