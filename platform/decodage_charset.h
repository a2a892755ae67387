#pragma once

#include <string>
#include <string_view>

namespace tq {

// The bytes decoded as the given code page (see platform/registre_charsets.h).
// No charset, or a code page that neither a decoder of our own nor the
// platform's conversions provide, gives each byte as the character with the
// same number (U+0000 to U+00FF). Malformed input never fails: it becomes
// U+FFFD. Nothing is removed: a UTF-8 byte-order mark gives U+FEFF.
std::u16string DecoderCodePage(std::string_view octets, int codePage);

// The text of an answer body, given its media type (compared without regard
// to case, parameters ignored) and its charset name (possibly empty). The XML
// media types take their charset from the body's byte-order mark or XML
// declaration instead, and the mark is not part of the text.
std::u16string DecoderCorps(std::string_view octets, std::string_view typeMedia, std::string_view charset);

// True when DecoderCorps reads a body of this media type and charset as
// UTF-8 from its first byte, whatever the body holds.
bool CorpsEnUtf8(std::string_view typeMedia, std::string_view charset);

} // namespace tq
