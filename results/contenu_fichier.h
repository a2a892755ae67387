#pragma once

#include <string>
#include <string_view>

namespace tq {

// The bytes of a result file: every line followed by CR LF, the whole text in
// the ANSI code page (Windows-1252), nothing before or after.

// The answer text as the file's one line.
std::string ContenuFichierJson(std::u16string_view reponse);

// One line per element of the answer's "resultats" (an array's elements, an
// object's member values): the element's text, or its compact JSON for any
// other kind than a text, with each backslash that stands directly before a
// double quote removed. A readable answer without a usable "resultats" gives
// no line and no byte. Throws ErreurReponseIllisible when the lenient reader
// rejects the answer.
std::string ContenuFichierResultats(std::u16string_view reponse);

} // namespace tq
