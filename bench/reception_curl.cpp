#include "bench/reception_curl.h"

#include <stdexcept>

#include <curl/curl.h>

namespace tq::bench {

namespace {

struct TReception {
    CURL* poignee = nullptr;
    std::size_t marge = 0;
    bool dimensionne = false;
    std::string octets;
};

std::size_t Recevoir(char* donnees, std::size_t, std::size_t n, void* contexte)
{
    auto& reception = *static_cast<TReception*>(contexte);
    if (!reception.dimensionne) {
        reception.dimensionne = true;
        curl_off_t longueur = -1;
        if (curl_easy_getinfo(reception.poignee, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &longueur) == CURLE_OK
            && longueur > 0)
            reception.octets.reserve(static_cast<std::size_t>(longueur) + reception.marge);
    }
    reception.octets.append(donnees, n);
    return n;
}

} // namespace

void InitialiserCurl()
{
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        throw std::runtime_error("curl_global_init");
}

std::string RecevoirCurl(const std::string& url, std::string_view corps, std::size_t marge)
{
    TReception reception;
    reception.marge = marge;
    reception.poignee = curl_easy_init();
    if (reception.poignee == nullptr)
        throw std::runtime_error("curl_easy_init");
    CURL* const h = reception.poignee;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, corps.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(corps.size()));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Recevoir);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &reception);
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 512L * 1024);
    const CURLcode resultat = curl_easy_perform(h);
    long statut = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &statut);
    curl_easy_cleanup(h);
    if (resultat != CURLE_OK)
        throw std::runtime_error(std::string("libcurl: ") + curl_easy_strerror(resultat));
    if (statut < 200 || statut > 299)
        throw std::runtime_error("libcurl: status " + std::to_string(statut));
    return std::move(reception.octets);
}

} // namespace tq::bench
