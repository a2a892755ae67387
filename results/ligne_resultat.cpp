#include "results/ligne_resultat.h"

#include "platform/encodage_ansi.h"

namespace tq {

namespace {

// The rule of result lines: a backslash that stands directly before a double
// quote is left out and the quote written; any other backslash stays.
TRegleCaractere::TEcriture BarreDevantGuillemet(std::u16string_view suite)
{
    if (suite.size() >= 2 && suite[1] == u'"')
        return { '"', 2 };
    return { '\\', 1 };
}

constexpr TRegleCaractere RegleLigneResultat { u'\\', &BarreDevantGuillemet };

} // namespace

// One pass over the line: the encoder hands each backslash to the rule, so
// the line is neither scanned twice nor copied first.
void AjouterLigneResultat(std::string& contenu, std::u16string_view ligne)
{
    AjouterEnAnsi(contenu, ligne, RegleLigneResultat);
    contenu += "\r\n";
}

} // namespace tq
