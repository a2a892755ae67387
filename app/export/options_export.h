#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/commandes/commande.h"

namespace tq {

// What the command line of tq_export asks for.
struct TOptionsExport {
    bool aide = false;
    bool version = false;
    TCommande commande = TCommande::ListeCentresStat;
    // tq_export "centres" prints the directory instead of showing it.
    std::string fichier;
    std::chrono::year_month_day debut {};
    std::chrono::year_month_day fin {};
    std::optional<std::u16string> formatDate;
    std::string url = UrlServeurStatistiques();
};

// Reads the arguments (without the program name). Throws ErreurUsage with a
// short French text when they do not make a valid command.
TOptionsExport LireOptionsExport(const std::vector<std::string>& arguments);

class ErreurUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The usage text printed by --aide and after a usage error.
const char* TexteAideExport();

} // namespace tq
