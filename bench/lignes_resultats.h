#pragma once

#include <optional>
#include <span>
#include <string>

#include "bench/mesure.h"
#include "json/souple/valeur_souple.h"

namespace tq::bench {

// The statistics answer decoded to text and read by the lenient reader, as
// the result file writer receives it: its lines are the texts of "resultats".
struct TLignesResultats {
    std::u16string texte;
    std::optional<json_souple::TDocumentSouple> document;
    std::span<const json_souple::TValeurSouple> lignes;
};

TLignesResultats LireLignesResultats(const TParametres& parametres);

} // namespace tq::bench
