#include "http/entetes_http.h"

#include "platform/caracteres.h"

#include <algorithm>
#include <limits>

namespace tq {

namespace {

std::string EnMinuscules(std::string_view texte)
{
    std::string s(texte);
    std::transform(s.begin(), s.end(), s.begin(), MinusculeAscii<char>);
    return s;
}

bool ContientSansCasse(std::string_view texte, std::string_view motif)
{
    return EnMinuscules(texte).find(motif) != std::string::npos;
}

std::string SansGuillemets(std::string_view valeur)
{
    if (valeur.size() >= 2 && (valeur.front() == '"' || valeur.front() == '\'') && valeur.back() == valeur.front())
        valeur = valeur.substr(1, valeur.size() - 2);
    return std::string(SansBlancs(valeur));
}

// The charset of a text/ media type that does not name one.
std::string CharsetParDefaut(std::string_view typeMedia)
{
    const std::string essence = EnMinuscules(SansBlancs(typeMedia.substr(0, typeMedia.find(';'))));
    if (!essence.starts_with("text/"))
        return {};
    if (essence == "text/xml" || essence == "text/xml-external-parsed-entity" || essence.ends_with("+xml"))
        return "us-ascii";
    return "ISO-8859-1";
}

} // namespace

void TEntetesHttp::Ajouter(std::string nom, std::string valeur)
{
    champs_.push_back({ std::move(nom), std::move(valeur) });
}

void TEntetesHttp::Remplacer(std::string nom, std::string valeur)
{
    std::erase_if(champs_, [&](const TChampEntete& c) { return EgauxSansCasse(c.nom, nom); });
    Ajouter(std::move(nom), std::move(valeur));
}

void TEntetesHttp::Prolonger(std::string_view suite)
{
    suite = SansBlancs(suite);
    if (champs_.empty() || suite.empty())
        return;
    std::string& valeur = champs_.back().valeur;
    if (!valeur.empty())
        valeur += ' ';
    valeur += suite;
}

const std::string* TEntetesHttp::Valeur(std::string_view nom) const
{
    for (const TChampEntete& c : champs_)
        if (EgauxSansCasse(c.nom, nom))
            return &c.valeur;
    return nullptr;
}

TTypeContenu AnalyserTypeContenu(const TEntetesHttp& entetes)
{
    const std::string* valeur = entetes.Valeur("Content-Type");
    if (valeur == nullptr)
        return {};
    TTypeContenu type;
    bool charsetTrouve = false;
    std::string_view reste = *valeur;
    bool premier = true;
    while (true) {
        const std::size_t pointVirgule = reste.find(';');
        const std::string_view partie = SansBlancs(reste.substr(0, pointVirgule));
        if (premier) {
            type.typeMedia = partie;
            premier = false;
        } else if (!partie.empty()) {
            const std::size_t egal = partie.find('=');
            if (!charsetTrouve && egal != std::string_view::npos
                && EgauxSansCasse(SansBlancs(partie.substr(0, egal)), "charset")) {
                type.charset = SansGuillemets(SansBlancs(partie.substr(egal + 1)));
                charsetTrouve = true;
            } else {
                type.typeMedia += "; ";
                type.typeMedia += partie;
            }
        }
        if (pointVirgule == std::string_view::npos)
            break;
        reste = reste.substr(pointVirgule + 1);
    }
    if (!charsetTrouve)
        type.charset = CharsetParDefaut(type.typeMedia);
    return type;
}

std::int64_t LongueurContenu(const TEntetesHttp& entetes)
{
    const std::string* valeur = entetes.Valeur("Content-Length");
    if (valeur == nullptr)
        return -1;
    const std::string_view chiffres = SansBlancs(*valeur);
    if (chiffres.empty())
        return -1;
    std::int64_t longueur = 0;
    for (char c : chiffres) {
        if (c < '0' || c > '9')
            return -1;
        if (longueur > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10)
            longueur = std::numeric_limits<std::int64_t>::max();
        else
            longueur = longueur * 10 + (c - '0');
    }
    return longueur;
}

bool CorpsFragmente(const TEntetesHttp& entetes)
{
    const std::string* valeur = entetes.Valeur("Transfer-Encoding");
    return valeur != nullptr && ContientSansCasse(*valeur, "chunked");
}

bool GarderConnexion(const TEntetesHttp& entetes)
{
    for (std::string_view nom : { "Connection", "Proxy-Connection" }) {
        const std::string* valeur = entetes.Valeur(nom);
        if (valeur != nullptr && EgauxSansCasse(SansBlancs(*valeur), "keep-alive"))
            return true;
    }
    return false;
}

std::string TexteAscii(std::string_view octets)
{
    std::string texte;
    texte.reserve(octets.size());
    for (char c : octets)
        if (static_cast<unsigned char>(c) < 0x80)
            texte.push_back(c);
        else
            texte += "\xEF\xBF\xBD";
    return texte;
}

} // namespace tq
