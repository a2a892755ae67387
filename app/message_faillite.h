#pragma once

#include <exception>

#include <QString>

namespace tq {

// The text of the failure box for a failure no handler caught: the message
// of the innermost failure it wraps (std::nested_exception), or its own when
// that one is empty; then a full stop when the last character's code is
// above that of the full stop (a letter, a digit: "Connexion refusée" gives
// "Connexion refusée.", while "Terminé." and "Terminé " stay as they are).
QString MessageFaillite(const std::exception& faillite);

// The message for a failure that is not a std::exception.
QString MessageFailliteInconnue();

// The application title, the failure box's caption: the program file's name
// without its folder nor anything from its first full stop on, every letter
// after the first in lower case ("/opt/TQ_Stat.bin" gives "Tq_stat").
QString TitreApplication(const QString& cheminProgramme);

} // namespace tq
