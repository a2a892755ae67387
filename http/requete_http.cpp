#include "http/requete_http.h"

#include "platform/texte_utf.h"

namespace tq {

namespace {

// The head is ASCII: each character outside it, a pair of surrogates counting
// as one, becomes "?".
std::string EnAscii(std::string_view utf8)
{
    const std::u16string texte = DepuisUtf8(utf8);
    std::string ascii;
    ascii.reserve(texte.size());
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const char16_t c = texte[i];
        if (c < 0x80) {
            ascii.push_back(static_cast<char>(c));
            continue;
        }
        ascii.push_back('?');
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < texte.size() && texte[i + 1] >= 0xDC00 && texte[i + 1] <= 0xDFFF)
            ++i;
    }
    return ascii;
}

} // namespace

std::string EnteteRequetePost(const TUrlHttp& url, std::size_t longueurCorps)
{
    std::string entete;
    entete += "POST " + url.cible + " HTTP/1.0\r\n";
    entete += "Connection: keep-alive\r\n";
    entete += "Content-Length: " + std::to_string(longueurCorps) + "\r\n";
    entete += "Host: " + url.hote + (url.port == 80 ? std::string() : ":" + url.textePort) + "\r\n";
    entete += "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n";
    entete += "Accept-Encoding: identity\r\n";
    entete += "User-Agent: Mozilla/3.0 (compatible; TQ Statistique)\r\n";
    entete += "\r\n";
    return EnAscii(entete);
}

} // namespace tq
