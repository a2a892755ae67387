#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

// One header field; name and value are UTF-8 (bytes above 127 of the line
// read became U+FFFD).
struct TChampEntete {
    std::string nom;
    std::string valeur;

    bool operator==(const TChampEntete&) const = default;
};

// The header fields of an answer in order of arrival. Names compare without
// regard to case, and the first field of a name is the one that counts.
class TEntetesHttp {
public:
    void Ajouter(std::string nom, std::string valeur);
    // Drops every field of that name and adds the new one at the end.
    void Remplacer(std::string nom, std::string valeur);
    // Continues the last field's value with a continuation line, joined by one
    // blank. Without a field there is nothing to continue.
    void Prolonger(std::string_view suite);

    // The value of the first field of that name, or nullptr.
    const std::string* Valeur(std::string_view nom) const;

    // The same fields, in the same order, names in the same case.
    bool operator==(const TEntetesHttp&) const = default;

private:
    std::vector<TChampEntete> champs_;
};

// Media type (the Content-Type value without its charset parameter) and
// charset (the parameter, unquoted, or the default for the media type).
struct TTypeContenu {
    std::string typeMedia;
    std::string charset;
};

TTypeContenu AnalyserTypeContenu(const TEntetesHttp& entetes);

// The Content-Length value; -1 when absent or not a non-negative integer, and
// INT64_MAX for a number too large to hold.
std::int64_t LongueurContenu(const TEntetesHttp& entetes);

// True when the Transfer-Encoding value contains "chunked".
bool CorpsFragmente(const TEntetesHttp& entetes);

// True when Connection or Proxy-Connection is "keep-alive".
bool GarderConnexion(const TEntetesHttp& entetes);

// Bytes read as ASCII into UTF-8: each byte above 127 becomes U+FFFD.
std::string TexteAscii(std::string_view octets);

} // namespace tq
