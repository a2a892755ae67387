#pragma once

#include <string>
#include <string_view>

namespace tq {

// Appends one line of a result file: the line in the ANSI code page with each
// backslash that stands directly before a double quote removed (scanning from
// left to right and resuming behind each removed backslash), then CR LF.
void AjouterLigneResultat(std::string& contenu, std::u16string_view ligne);

} // namespace tq
