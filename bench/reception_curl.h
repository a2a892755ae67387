#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tq::bench {

// The reference client: libcurl posts the body and receives the answer into
// memory. The buffer takes the announced length at once, plus `marge` spare
// bytes after it (simdjson reads a little past the end); without a length it
// grows geometrically as the bytes come. A new handle per call, as the
// system uses a new client per request. Throws on any failure or on a status
// outside 200 to 299.
std::string RecevoirCurl(const std::string& url, std::string_view corps, std::size_t marge = 0);

// Once per process, before the first call.
void InitialiserCurl();

} // namespace tq::bench
