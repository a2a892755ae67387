#pragma once

#include "server/format_date.h"

#include <chrono>
#include <string_view>

namespace tq {

enum class TGenreRequete {
    ListeCentres, // type 4, requeteId 1
    Statistiques, // type 100, requeteId 1, with a period
    ListeAcces,   // type 100, requeteId 2
};

struct TRequete {
    TGenreRequete genre = TGenreRequete::ListeCentres;
    // First and last day of the period, both included; only for Statistiques.
    std::chrono::year_month_day debut {};
    std::chrono::year_month_day fin {};
};

// Reads a query request from the body of a POST, sent in Windows-1252.
// Members other than "type", "requeteId", "periode1Debut" and "periode1Fin"
// are not looked at. Raises ErreurRequete, with a short French text for the
// operator, when the body is not a JSON object, names an unknown query, or
// lacks a readable period where one is needed.
TRequete LireRequete(std::string_view corps, const TFormatDate& format);

} // namespace tq
