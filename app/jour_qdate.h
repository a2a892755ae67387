#pragma once

#include <chrono>

#include <QDate>

namespace tq {

// A calendar day as the core counts it, from Qt's date type and back; the
// clock and the drop-down calendar speak Qt's, the date fields the core's.
inline std::chrono::year_month_day JourDepuisQDate(QDate date)
{
    return std::chrono::year { date.year() } / std::chrono::month { static_cast<unsigned>(date.month()) }
         / std::chrono::day { static_cast<unsigned>(date.day()) };
}

inline QDate QDateDepuisJour(std::chrono::year_month_day jour)
{
    return QDate(static_cast<int>(jour.year()), static_cast<int>(static_cast<unsigned>(jour.month())),
                 static_cast<int>(static_cast<unsigned>(jour.day())));
}

} // namespace tq
