#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tq {

// The platform's own decoding of bytes in a code page that no decoder of ours
// handles (the conversion library here, the system's conversions on Windows).
// Malformed input never fails: it becomes U+FFFD or the platform's own
// replacement. Gives nothing when the platform does not have the code page.
std::optional<std::u16string> DecoderParLaPlateforme(std::string_view octets, int codePage);

} // namespace tq
