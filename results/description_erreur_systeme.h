#pragma once

#include <string>

namespace tq {

// The system's French description of an error number, as it ends the file
// creation message: the usual causes of a failed creation in their own words,
// the C library's text for any other, with trailing blanks, control
// characters and full stops removed.
std::string DescriptionErreurSysteme(int numero);

} // namespace tq
