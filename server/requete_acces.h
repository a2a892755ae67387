#pragma once

#include "server/base.h"
#include "server/format_date.h"

#include <string>
#include <vector>

namespace tq {

// The result lines of the access list query: a header line, then one CSV
// line per recorded access, the most recent first: date (in the server's
// date format), time, user, centre (its trade name, "Siège" for an access
// from head office) and the address the access came from.
std::vector<std::u16string> LignesAcces(TBase& base, const TFormatDate& format);

} // namespace tq
