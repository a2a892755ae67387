#pragma once

#include <exception>
#include <string>

namespace tq {

// The text shown for a failure that no handler caught (UTF-8): the message of
// the innermost failure it wraps (std::nested_exception), or its own when
// that one is empty; then a full stop when the last character's code is
// above that of the full stop, so "Connexion refusée" gives
// "Connexion refusée." while "Terminé." and "Terminé " stay as they are.
std::string MessageEchec(const std::exception& echec);

// The same rule for a failure that is not a std::exception.
std::string MessageEchecInconnu();

} // namespace tq
