#pragma once

#include "http/url_http.h"

#include <cstddef>
#include <string>

namespace tq {

// The head of a POST: request line, the six header lines in their fixed order
// and the empty line, every character above 127 sent as "?".
std::string EnteteRequetePost(const TUrlHttp& url, std::size_t longueurCorps);

} // namespace tq
