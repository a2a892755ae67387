#pragma once

// Linux only, at build time: the ANSI table computed from ICU's Unicode data.

#include "platform/meilleur_ajustement.h"

namespace tq {

// Windows-1252 with its best fits: each character the code page lacks takes
// the byte of the nearest character it has, found through Unicode's
// decompositions and a list of fits that no decomposition gives, else "?".
// Run by the build (tq_generer_table_ansi), which writes the table into the
// program, so that no start of a program pays for it.
TTableEncodage CalculerTableAnsi();

} // namespace tq
