#pragma once

#include <chrono>
#include <string>

#include "platform/reglages_regionaux.h"

namespace tq {

// The three questions the statistics server is asked.
enum class TTypeRequete {
    ListeCentres,        // "type" 4, "requeteId" 1
    StatistiquesPeriode, // "type" 100, "requeteId" 1, with a period
    ListeAcces,          // "type" 100, "requeteId" 2
};

// A period of the statistics query, as two calendar days.
struct TPeriode {
    std::chrono::year_month_day debut;
    std::chrono::year_month_day fin;
};

// The query request text posted to the server. The period is used by the
// period statistics query only; its days are written with the short date
// format of the settings.
std::u16string ConstruireRequete(TTypeRequete type, const TPeriode& periode = {},
                                 const TReglagesRegionaux& reglages = {});

// The first day of the month of the given day: the start of the period sent
// by the "Centre" group's statistics button.
std::chrono::year_month_day PremierJourDuMois(std::chrono::year_month_day jour);

// The last day of the month of the given day (Gregorian month lengths).
std::chrono::year_month_day DernierJourDuMois(std::chrono::year_month_day jour);

} // namespace tq
