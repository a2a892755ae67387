#include "http/erreurs_http.h"
#include "http/requete_http.h"
#include "http/url_http.h"

#include <gtest/gtest.h>

#include <string>

namespace tq {
namespace {

std::string Entete(const std::string& cible, const std::string& hote, std::size_t longueur)
{
    return "POST " + cible
         + " HTTP/1.0\r\n"
           "Connection: keep-alive\r\n"
           "Content-Length: "
         + std::to_string(longueur)
         + "\r\n"
           "Host: "
         + hote
         + "\r\n"
           "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
           "Accept-Encoding: identity\r\n"
           "User-Agent: Mozilla/3.0 (compatible; TQ Statistique)\r\n"
           "\r\n";
}

TEST(RequeteHttp, HeadIsByteExact)
{
    struct Cas {
        const char* nom;
        const char* url;
        std::size_t longueur;
        std::string attendu;
    };
    const Cas cas[] = {
        { "server_port_2019", "http://stats.example:2019", 42, Entete("/", "stats.example:2019", 42) },
        { "empty_body", "http://stats.example:2019", 0, Entete("/", "stats.example:2019", 0) },
        { "port_80_written", "http://stats.example:80", 7, Entete("/", "stats.example", 7) },
        { "port_80_written_with_zero", "http://stats.example:080", 7, Entete("/", "stats.example", 7) },
        { "no_port", "http://stats.example", 7, Entete("/", "stats.example", 7) },
        { "port_text_as_written", "http://h:02019", 1, Entete("/", "h:02019", 1) },
        { "host_case_kept", "HTTP://LocalHost:2019", 1, Entete("/", "LocalHost:2019", 1) },
        { "path_and_query", "http://h:2019/a/b?x=1&y=2", 3, Entete("/a/b?x=1&y=2", "h:2019", 3) },
        { "query_without_path", "http://h:2019?x=1", 3, Entete("/?x=1", "h:2019", 3) },
        { "fragment_not_sent", "http://h:2019/a#partie", 3, Entete("/a", "h:2019", 3) },
        { "non_ascii_host_becomes_question_mark", "http://caf\xC3\xA9.fr:2019", 1, Entete("/", "caf?.fr:2019", 1) },
        { "astral_character_is_one_question_mark", "http://h:2019/\xF0\x9F\x98\x80", 1, Entete("/?", "h:2019", 1) },
        { "large_length", "http://h:2019", 123456789, Entete("/", "h:2019", 123456789) },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(EnteteRequetePost(AnalyserUrl(c.url), c.longueur), c.attendu);
    }
}

TEST(RequeteHttp, UrlParts)
{
    struct Cas {
        const char* nom;
        const char* url;
        const char* hote;
        unsigned port;
        const char* cible;
    };
    const Cas cas[] = {
        { "server_url", "http://serveur:2019", "serveur", 2019, "/" },
        { "default_port", "http://serveur/x", "serveur", 80, "/x" },
        { "highest_port", "http://serveur:65535", "serveur", 65535, "/" },
        { "dotted_address", "http://10.1.2.3:8080/", "10.1.2.3", 8080, "/" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const TUrlHttp url = AnalyserUrl(c.url);
        EXPECT_EQ(url.hote, c.hote);
        EXPECT_EQ(url.port, c.port);
        EXPECT_EQ(url.cible, c.cible);
    }
}

TEST(RequeteHttp, RejectedUrls)
{
    struct Cas {
        const char* nom;
        std::string url;
        const char* message;
    };
    const Cas cas[] = {
        { "other_scheme", "ftp://h:2019", "Adresse URL non valide : ftp://h:2019" },
        { "secure_scheme", "https://h:2019", "Adresse URL non valide : https://h:2019" },
        { "no_scheme", "h:2019", "Adresse URL non valide : h:2019" },
        { "no_host", "http://", "Adresse URL non valide : http://" },
        { "port_without_host", "http://:2019", "Adresse URL non valide : http://:2019" },
        { "empty_port", "http://h:", "Adresse URL non valide : http://h:" },
        { "port_zero", "http://h:0", "Adresse URL non valide : http://h:0" },
        { "port_too_large", "http://h:65536", "Adresse URL non valide : http://h:65536" },
        { "port_not_decimal", "http://h:20a9", "Adresse URL non valide : http://h:20a9" },
        { "blank_in_path", "http://h:2019/a b", "Adresse URL non valide : http://h:2019/a b" },
        { "header_injection", "http://h:2019/\r\nX-Autre: 1", "Adresse URL non valide : http://h:2019/??X-Autre: 1" },
        { "nul_byte", std::string("http://h\0x:2019", 15), "Adresse URL non valide : http://h?x:2019" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        try {
            AnalyserUrl(c.url);
            ADD_FAILURE() << "accepted";
        } catch (const Erreur& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

} // namespace
} // namespace tq
