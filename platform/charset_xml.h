#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tq {

// What an XML body says of its own encoding: the charset named by its
// byte-order mark or its XML declaration (empty when it names none), and how
// many leading bytes the mark takes (they are not part of the text).
struct TCharsetXml {
    std::string charset;
    std::size_t longueurMarque = 0;
};

// The charset an XML body declares: its byte-order mark when it has at least
// three bytes and begins with one, else the "encoding" pseudo-attribute of an
// XML declaration written in UCS-4 (any byte order), UTF-16 (either byte
// order), an ASCII-compatible encoding or EBCDIC.
TCharsetXml CharsetDeclareXml(std::string_view octets);

} // namespace tq
