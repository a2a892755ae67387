#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tq {

// Writes one line to the activity log.
using TAjouterLog = std::function<void(std::u16string_view texte)>;

// The statistics server's address: "http://" + the host fixed at build time + ":2019".
std::string UrlServeurStatistiques();

// Posts a query request to the server and keeps the answer's text.
// `resultatRequete` is emptied first; on a success status it receives the
// decoded body and the result is true. On an HTTP error status the line
// "Erreur: " + the error body is logged and the result is false. Every other
// failure (name resolution, connection, closed connection...) passes out
// unchanged, with `resultatRequete` left empty.
bool Interroger(std::u16string_view requete, std::u16string& resultatRequete, const TAjouterLog& ajouterLog,
                const std::string& url = UrlServeurStatistiques());

} // namespace tq
