#pragma once

#include "server/format_date.h"

#include <string>
#include <vector>

namespace tq {

struct TOptions {
    std::string adresse = "127.0.0.1";
    int port = 2019; // 0 takes a free port
    std::string base = "statistiques.sqlite";
    bool demo = false;
    // Without --format-date, the dates of the locale the server runs in.
    TFormatDate formatDate = TFormatDate::DeLaLocale(NomLocaleDesDates());
    bool aide = false;
    bool version = false;
};

// Reads the command line, program name left out. Each option takes its
// value as the next argument or after "=" ("--port 2019", "--port=2019").
// Raises Erreur, naming the option, for an unknown option, a missing or
// unreadable value, or a date format that cannot be used.
TOptions LireOptions(const std::vector<std::string>& arguments);

// The short French usage that --aide prints.
std::string TexteAide();

} // namespace tq
