// The HTTP client's Post of the statistics answer, decoded to text, against
// libcurl receiving the same answer into memory; with and without
// Content-Length. libcurl hands back bytes, where Post hands back text: a
// last case decodes libcurl's bytes with the same UTF-8 decoder, which is
// the work Post does.

#include <string>

#include "bench/cas.h"
#include "bench/donnees.h"
#include "bench/reception_curl.h"
#include "bench/requete_bench.h"
#include "http/client_http.h"
#include "platform/texte_utf.h"

namespace tq::bench {

namespace {

constexpr const char* Conforme = "corps=conforme";

// What the answer must give, checked once the runs are over so that the
// check costs the runs no memory.
std::string Verifier(bool conforme)
{
    return conforme ? Conforme : "corps=DIFFERENT";
}

std::string Bouts(std::string_view octets)
{
    constexpr std::size_t Taille = 1024;
    if (octets.size() <= 2 * Taille)
        return std::string(octets);
    return std::string(octets.substr(0, Taille)).append(octets.substr(octets.size() - Taille));
}

void MesurerPost(const TParametres& parametres, TMesure& mesure, std::string_view chemin)
{
    const std::string corps = CorpsRequete(RequeteStatistiques());
    const std::string url = UrlServeur(parametres, chemin);
    std::size_t unites = 0;
    mesure.Repeter([&] {
        TClientHttp client;
        std::u16string texte = client.Post(url, corps);
        mesure.Etape("Post");
        unites = texte.size();
        texte = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(Verifier(unites == UnitesUtf16(LireFichier(FichierResultats(parametres)))));
}

void MesurerCurl(const TParametres& parametres, TMesure& mesure, std::string_view chemin)
{
    InitialiserCurl();
    const std::string corps = CorpsRequete(RequeteStatistiques());
    const std::string url = UrlServeur(parametres, chemin);
    // The size and both ends of the last answer, enough to tell a wrong one.
    std::size_t taille = 0;
    std::string bouts;
    mesure.Repeter([&] {
        std::string octets = RecevoirCurl(url, corps);
        mesure.Etape("libcurl");
        taille = octets.size();
        bouts = Bouts(octets);
        octets = {};
        mesure.Etape("liberation");
    });
    const std::string attendu = LireFichier(FichierResultats(parametres));
    mesure.Controle(Verifier(taille == attendu.size() && bouts == Bouts(attendu)));
}

void MesurerCurlEnTexte(const TParametres& parametres, TMesure& mesure)
{
    InitialiserCurl();
    const std::string corps = CorpsRequete(RequeteStatistiques());
    const std::string url = UrlServeur(parametres, "/resultats");
    std::size_t unites = 0;
    mesure.Repeter([&] {
        std::u16string texte = DepuisUtf8(RecevoirCurl(url, corps));
        mesure.Etape("libcurl+decodage");
        unites = texte.size();
        texte = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(Verifier(unites == UnitesUtf16(LireFichier(FichierResultats(parametres)))));
}

} // namespace

void AjouterCasHttp(std::vector<TCas>& cas)
{
    cas.push_back({ "post.longueur", [](const TParametres& p, TMesure& m) { MesurerPost(p, m, "/resultats"); } });
    cas.push_back({ "curl.longueur", [](const TParametres& p, TMesure& m) { MesurerCurl(p, m, "/resultats"); } });
    cas.push_back(
        { "post.flux", [](const TParametres& p, TMesure& m) { MesurerPost(p, m, "/resultats-sans-longueur"); } });
    cas.push_back(
        { "curl.flux", [](const TParametres& p, TMesure& m) { MesurerCurl(p, m, "/resultats-sans-longueur"); } });
    cas.push_back({ "curl.texte", [](const TParametres& p, TMesure& m) { MesurerCurlEnTexte(p, m); } });
}

} // namespace tq::bench
