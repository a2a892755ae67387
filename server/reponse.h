#pragma once

#include "server/format_date.h"

#include <chrono>
#include <string>
#include <string_view>

namespace tq {

struct TConfigurationServeur {
    std::string base; // path of the SQLite file
    TFormatDate formatDate { u"dd/MM/yyyy" };
    // The time a whole request may take to arrive, head and body, and its
    // answer to leave: a client that trickles its bytes is cut off then.
    std::chrono::milliseconds delaiRequete { 10'000 };
};

struct TReponse {
    int statut = 200;
    std::string typeContenu;
    std::string corps;
};

inline constexpr const char* typeJson = "application/json; charset=utf-8";
inline constexpr const char* typeTexte = "text/plain; charset=utf-8";

// Answers the body of one POST to "/": 200 with the JSON answer of the
// query; 400 with a short French text when the request cannot be answered
// as sent; 500 with a short French text when the base fails. Opens the base
// for this one request, read-only.
TReponse Repondre(std::string_view corps, const TConfigurationServeur& configuration);

} // namespace tq
