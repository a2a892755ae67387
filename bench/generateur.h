#pragma once

#include <cstddef>
#include <string>

namespace tq::bench {

// The answer to a period statistics query with `lignes` result lines, as the
// server sends it: UTF-8 JSON {"resultats":[...]}. Each line is a CSV record
// of about 65 characters, most with French accents; a quarter carry their
// trade name between backslash-quote pairs (\" in the line, \\\" in the
// JSON), one in forty a euro sign, one in fifty an accent written as the
// escape \u00e9. The same count always gives the same bytes.
std::string ReponseResultats(std::size_t lignes);

// The answer to a centre list query with `centres` centres, every one with
// all sixteen keys: UTF-8 JSON {"centres":[{...},...]}. Deterministic too.
std::string ListeCentres(std::size_t centres);

} // namespace tq::bench
