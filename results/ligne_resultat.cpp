#include "results/ligne_resultat.h"

#include "platform/encodage_ansi.h"

namespace tq {

// One pass over the line: the encoder itself leaves the backslashes out, so
// the line is neither scanned twice nor copied first.
void AjouterLigneResultat(std::string& contenu, std::u16string_view ligne)
{
    AjouterEnAnsiSansBarresDevantGuillemets(contenu, ligne);
    contenu += "\r\n";
}

} // namespace tq
