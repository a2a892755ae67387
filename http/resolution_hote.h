#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tq {

// The IPv4 address, in network byte order, to connect to for a host written
// in a URL: "localhost" in any case is 127.0.0.1, a dotted address is taken as
// written, any other name is resolved (an internationalised one converted to
// its ASCII form first) and the first address returned is used. A name that
// cannot be resolved throws ErreurSocket 11001.
std::uint32_t AdresseHote(std::string_view hote);

// The ASCII form of a host name (UTF-8) whose labels are not all ASCII; a name
// that is ASCII already is kept as written. A name that has no ASCII form
// throws ErreurSocket 11001.
std::string NomHoteAscii(std::string_view nom);

} // namespace tq
