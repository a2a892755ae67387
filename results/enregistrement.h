#pragma once

#include <filesystem>
#include <string_view>

namespace tq {

// Writes the answer to a result lines query as a result file, one line per
// element of its "resultats". Throws ErreurReponseIllisible, writing nothing,
// when the answer cannot be read; ErreurCreationFichier or ErreurEcritureFlux
// when the file cannot be written, leaving any file already at the path as it
// was.
void EnregistrerResultats(std::u16string_view reponse, const std::filesystem::path& chemin);

// Writes the answer unchanged as the one line of a result file. Fails as
// EnregistrerResultats does when the file cannot be written.
void EnregistrerJson(std::u16string_view reponse, const std::filesystem::path& chemin);

} // namespace tq
