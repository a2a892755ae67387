#pragma once

#include "server/base.h"

#include <string>

namespace tq {

// The answer to the centre list query: {"centres":[...]}, one object per
// centre in the order of their identifiers, each with the sixteen keys the
// client reads: "id", "codeMorva" and "zone" as JSON integers, the thirteen
// others as JSON texts.
std::string ReponseListeCentres(TBase& base);

} // namespace tq
