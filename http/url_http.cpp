#include "http/url_http.h"

#include "platform/caracteres.h"
#include "http/erreurs_http.h"

namespace tq {

namespace {

// The message shows the URL, its control characters as "?".
[[noreturn]] void UrlInvalide(std::string_view url)
{
    std::string message = MessageUrlInvalide;
    for (char c : url) {
        const auto b = static_cast<unsigned char>(c);
        message.push_back(b < 0x20 || b == 0x7F ? '?' : c);
    }
    throw Erreur(message);
}

} // namespace

TUrlHttp AnalyserUrl(std::string_view url)
{
    // A blank, CR or LF would break the request line or slip a header in.
    for (char c : url) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F)
            UrlInvalide(url);
    }
    const std::size_t separateur = url.find("://");
    if (separateur == std::string_view::npos || !EgauxSansCasse(url.substr(0, separateur), "http"))
        UrlInvalide(url);
    std::string_view reste = url.substr(separateur + 3);
    reste = reste.substr(0, reste.find('#'));
    const std::size_t finAutorite = reste.find_first_of("/?");
    const std::string_view autorite = reste.substr(0, finAutorite);
    const std::string_view chemin =
        finAutorite == std::string_view::npos ? std::string_view() : reste.substr(finAutorite);

    TUrlHttp resultat;
    const std::size_t deuxPoints = autorite.rfind(':');
    resultat.hote = autorite.substr(0, deuxPoints);
    if (deuxPoints == std::string_view::npos) {
        resultat.textePort = "80";
    } else {
        const std::string_view port = autorite.substr(deuxPoints + 1);
        if (port.empty() || port.size() > 5)
            UrlInvalide(url);
        unsigned valeur = 0;
        for (char c : port) {
            if (c < '0' || c > '9')
                UrlInvalide(url);
            valeur = valeur * 10 + unsigned(c - '0');
        }
        if (valeur == 0 || valeur > 65535)
            UrlInvalide(url);
        resultat.textePort = port;
        resultat.port = static_cast<std::uint16_t>(valeur);
    }
    if (resultat.hote.empty())
        UrlInvalide(url);
    if (chemin.empty())
        resultat.cible = "/";
    else if (chemin.front() == '?')
        resultat.cible = "/" + std::string(chemin);
    else
        resultat.cible = chemin;
    return resultat;
}

} // namespace tq
