#pragma once

#include <iosfwd>

#include "bench/mesure.h"

namespace tq::bench {

// Runs every case (or those whose name starts with `filtre`), each in its own
// process, against one loopback server, and writes the table in Markdown.
// False when a case failed or when outputs that must agree do not.
bool ExecuterTableau(const TParametres& parametres, std::string_view filtre, std::ostream& sortie);

} // namespace tq::bench
