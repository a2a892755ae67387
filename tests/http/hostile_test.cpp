// Hostile servers: answers cut at every byte, peers that stop talking, drip,
// flood or never end. Whatever a server does, the client ends with either the
// complete answer or a failure that says why, never with a truncated success
// (only an answer framed by the close itself ends at the close), and never
// waits or grows without bound.
#include "http/client_http.h"
#include "http/erreurs_http.h"
#include "http/lecteur_reponse.h"
#include "tests/http/source_memoire.h"
#include "platform/texte_utf.h"
#include "tests/commun/serveur_scripte.h"
#include "tests/http/issue_http.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "http/winsock_windows.h"
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

using namespace std::literals;
using namespace tq::test;
using tq::test::TEtapeServeur;
using tq::test::TFinServeur;
using tq::test::TServeurScripte;

namespace tq {
namespace {

const TIssue Fermee = Echec(MessageConnexionFermee);
const TIssue DelaiDepasse = Echec("Erreur de socket n° 10060\r\nDélai de connexion dépassé.");

// Waits that keep a broken test from hanging; no case here comes near them
// unless it is meant to.
TReglagesClientHttp ReglagesDeGarde()
{
    TReglagesClientHttp reglages;
    reglages.delaiConnexion = 5s;
    reglages.delaiLecture = 5s;
    return reglages;
}

// An answer as a server sends it, and what reading it whole gives.
struct TReponseScriptee {
    const char* nom;
    std::string octets;
    TIssue complete;
    // For an answer framed by the close: where its body begins. A close
    // there or later ends the body; 0 for every other answer.
    std::size_t debutCorpsAuFermer = 0;
};

const std::vector<TReponseScriptee>& ReponsesScriptees()
{
    static const std::vector<TReponseScriptee> reponses = {
        { "content_length",
          "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: 16\r\n\r\n"
          "{\"resultats\":[]}",
          Texte(u"{\"resultats\":[]}") },
        { "chunked_with_trailer",
          "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4;x=1\r\n{\"re\r\nC\r\nsultats\":[]}\r\n"
          "0\r\nX-Fin: oui\r\n\r\n",
          Texte(u"{\"resultats\":[]}") },
        { "continue_then_ok", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
          Texte(u"ok") },
        { "continue_then_unavailable",
          "HTTP/1.1 100 Continue\r\nX: 1\r\n\r\nHTTP/1.1 503 Service Unavailable\r\nContent-Length: 4\r\n\r\nplus",
          Protocole(503, "HTTP/1.1 503 Service Unavailable", u"plus") },
        { "internal_error",
          "HTTP/1.1 500 Internal Server Error\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: 14\r\n\r\n"
          "erreur interne",
          Protocole(500, "HTTP/1.1 500 Internal Server Error", u"erreur interne") },
        { "not_found_chunked",
          "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain; charset=utf-8\r\nTransfer-Encoding: chunked\r\n\r\n"
          "9\r\nintrouv\xC3\xA9\r\n0\r\n\r\n",
          Protocole(404, "HTTP/1.1 404 Not Found", u"introuv\u00E9") },
        { "no_content", "HTTP/1.1 204 No Content\r\n\r\n", Texte(u"") },
        { .nom = "read_to_close",
          .octets = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nabcdef",
          .complete = Texte(u"abcdef"),
          .debutCorpsAuFermer = 45 },
    };
    return reponses;
}

// What a peer that stops after the first k bytes leaves the client with.
TIssue IssueApres(const TReponseScriptee& r, std::size_t k, TFinSource fin)
{
    if (fin == TFinSource::Silence)
        return k == r.octets.size() && r.debutCorpsAuFermer == 0 ? r.complete : DelaiDepasse;
    if (r.debutCorpsAuFermer != 0 && k >= r.debutCorpsAuFermer)
        return Texte(DepuisUtf8(r.octets.substr(r.debutCorpsAuFermer, k - r.debutCorpsAuFermer)));
    return k == r.octets.size() ? r.complete : Fermee;
}

TEST(ServeurHostile, EveryAnswerReadWholeGivesItsOutcome)
{
    for (const TReponseScriptee& r : ReponsesScriptees()) {
        SCOPED_TRACE(r.nom);
        EXPECT_EQ(LireEnMemoire(r.octets, {}, TFinSource::Fermeture), r.complete);
        if (r.debutCorpsAuFermer != 0) {
            EXPECT_EQ(r.octets.substr(r.debutCorpsAuFermer - 4, 4), "\r\n\r\n");
        }
    }
}

// The peer closes, or falls silent, after every possible number of bytes,
// the stream being cut in several ways on the way.
TEST(ServeurHostile, CutAtEveryByteInMemory)
{
    const std::vector<std::vector<std::size_t>> decoupages = { {}, { 1 }, { 2, 5 }, { 7, 1, 3 } };
    for (const TReponseScriptee& r : ReponsesScriptees()) {
        SCOPED_TRACE(r.nom);
        for (const TFinSource fin : { TFinSource::Fermeture, TFinSource::Silence }) {
            SCOPED_TRACE(fin == TFinSource::Fermeture ? "close" : "silence");
            for (std::size_t k = 0; k <= r.octets.size(); ++k) {
                SCOPED_TRACE("after " + std::to_string(k) + " bytes");
                const TIssue attendu = IssueApres(r, k, fin);
                for (const std::vector<std::size_t>& pieces : decoupages)
                    ASSERT_EQ(LireEnMemoire(r.octets.substr(0, k), pieces, fin), attendu);
            }
        }
    }
}

// The same over a real connection, for a sample of offsets: both ends of
// the answer, the end of the head, and a stride through the rest.
TEST(ServeurHostile, CutOverLoopback)
{
    for (const TReponseScriptee& r : ReponsesScriptees()) {
        SCOPED_TRACE(r.nom);
        std::vector<std::size_t> coupes = { 0, 1, r.octets.size() - 1, r.octets.size() };
        if (const std::size_t finEntete = r.octets.find("\r\n\r\n"); finEntete != std::string::npos) {
            coupes.push_back(finEntete + 3);
            coupes.push_back(finEntete + 4);
        }
        for (std::size_t k = 11; k < r.octets.size(); k += 23)
            coupes.push_back(k);
        for (const std::size_t k : coupes) {
            SCOPED_TRACE("after " + std::to_string(k) + " bytes");
            TServeurScripte serveur({ { r.octets.substr(0, k) } });
            EXPECT_EQ(Poster(serveur.Url(), "{}", ReglagesDeGarde()), IssueApres(r, k, TFinSource::Fermeture));
        }
    }
}

TEST(ServeurHostile, InvalidChunkSizes)
{
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    struct Cas {
        const char* nom;
        std::string chunks;
        TIssue attendu;
        std::uint64_t tailleCorpsMax = std::uint64_t(1) << 30;
    };
    // A size line that is not a hexadecimal number fails: read as 0 it would
    // end the body there and pass a cut answer off as complete.
    const TIssue invalide = Echec(MessageTailleFragmentInvalide);
    const Cas cas[] = {
        { "negative", "3\r\nabc\r\n-1\r\n\r\n", invalide },
        { "empty_size_line", "3\r\nabc\r\n\r\n\r\n", invalide },
        { "blank_size_line", "3\r\nabc\r\n \t \r\n0\r\n\r\n", invalide },
        { "only_an_extension", ";x=1\r\n\r\n", invalide },
        { "hex_prefix", "0x3\r\nabc\r\n\r\n", invalide },
        { "digit_then_letter", "3g\r\nabc\r\n0\r\n\r\n", invalide },
        { "inner_blank", "1 0\r\n0123456789abcdef\r\n0\r\n\r\n", invalide },
        { "second_size_garbled", "3\r\nabc\r\nzz\r\ndef\r\n0\r\n\r\n", invalide },
        { "extension_after_blank", "3 ;x=1\r\nabc\r\n0;y\r\n\r\n", Texte(u"abc") },
        { "blanks_around", " \t3 \r\nabc\r\n 0 \r\n\r\n", Texte(u"abc") },
        { "upper_and_lower_case", "a\r\n0123456789\r\nA\r\nabcdefghij\r\n0\r\n\r\n", Texte(u"0123456789abcdefghij") },
        { "data_longer_than_size", "3\r\nabcdef\r\n0\r\n\r\n", Texte(u"abc") },
        { "size_beyond_the_data", "FFFF\r\nabc", Fermee },
        { "size_past_the_cap", "10001\r\n", Echec(MessageReponseTropVolumineuse), 0x10000 },
        { "sizes_adding_past_the_cap", "8000\r\n" + std::string(0x8000, 'a') + "\r\n8001\r\n",
          Echec(MessageReponseTropVolumineuse), 0x10000 },
        { "sixteen_hex_digits", "FFFFFFFFFFFFFFFF\r\nabc", Echec(MessageReponseTropVolumineuse) },
        { "leading_zeros_then_overflow", "000000000000000000010000000000000000\r\n",
          Echec(MessageReponseTropVolumineuse) },
        { "many_leading_zeros", "0000000000000000000000003\r\nabc\r\n0\r\n\r\n", Texte(u"abc") },
        { "trailer_never_ends", "1\r\na\r\n0\r\nX: 1\r\n", Fermee },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TReglagesClientHttp reglages;
        reglages.tailleCorpsMax = c.tailleCorpsMax;
        for (const std::vector<std::size_t>& pieces : { std::vector<std::size_t> {}, std::vector<std::size_t> { 1 } })
            EXPECT_EQ(LireEnMemoire(chunked + c.chunks, pieces, TFinSource::Fermeture, reglages), c.attendu);
    }
}

std::string Repete(std::string_view motif, std::size_t fois)
{
    std::string s;
    s.reserve(motif.size() * fois);
    for (std::size_t i = 0; i < fois; ++i)
        s += motif;
    return s;
}

// Floods and endless streams over a real connection: each one stops at its
// limit with that limit's message.
TEST(ServeurHostile, FloodsStopAtTheirLimit)
{
    struct Cas {
        const char* nom;
        std::string octets;
        TIssue attendu;
    };
    const Cas cas[] = {
        { "hundred_thousand_header_lines", "HTTP/1.1 200 OK\r\n" + Repete("X-Encore: 1\r\n", 100000) + "\r\nfin",
          Echec(MessageTropDeLignesEntete) },
        { "hundred_thousand_continuation_lines", "HTTP/1.1 200 OK\r\nX: 1\r\n" + Repete(" suite\r\n", 100000) + "\r\n",
          Echec(MessageTropDeLignesEntete) },
        { "endless_interim_answers", Repete("HTTP/1.1 100 Continue\r\n\r\n", 100000),
          Echec(MessageTropDeReponsesIntermediaires) },
        { "endless_body_read_to_close", "HTTP/1.0 200 OK\r\n\r\n" + std::string(4 << 20, 'a'),
          Echec(MessageReponseTropVolumineuse) },
        { "endless_chunks",
          "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
              + Repete("400\r\n" + std::string(0x400, 'b') + "\r\n", 4096),
          Echec(MessageReponseTropVolumineuse) },
        { "announced_length_past_the_cap", "HTTP/1.1 200 OK\r\nContent-Length: 10000000000\r\n\r\nabc",
          Echec(MessageReponseTropVolumineuse) },
        { "endless_status_line", std::string(1 << 20, 'H'), Echec(MessageLigneTropLongue) },
        { "endless_header_line", "HTTP/1.1 200 OK\r\nX: " + std::string(1 << 20, 'x'), Echec(MessageLigneTropLongue) },
        { "line_of_16385_bytes_in_trailer",
          "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\nX: " + std::string(16381, 'x')
              + "\r\n\r\n",
          Echec(MessageLigneTropLongue) },
        { "line_of_16384_bytes_in_trailer",
          "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\nX: " + std::string(16380, 'x')
              + "\r\n\r\n",
          Texte(u"a") },
    };
    TReglagesClientHttp reglages = ReglagesDeGarde();
    reglages.tailleCorpsMax = 1 << 20;
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TServeurScripte serveur({ { c.octets } });
        EXPECT_EQ(Poster(serveur.Url(), "{}", reglages), c.attendu);
        EXPECT_EQ(serveur.NombreConnexions(), 1);
    }
}

// A server that sends one byte at a time: as long as each byte comes within
// the read time-out the answer is read; a gap longer than it ends the wait.
TEST(ServeurHostile, DripFeeding)
{
    const std::string reponse = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nlente";
    std::vector<TEtapeServeur> goutteAGoutte;
    for (std::size_t i = 0; i < reponse.size(); ++i)
        goutteAGoutte.push_back({ reponse.substr(i, 1), i == 0 ? 0ms : 2ms });
    // All bytes up to `coupe` at once, the rest after a gap of a second.
    auto avecUnTrou = [&reponse](std::size_t coupe) {
        return std::vector<TEtapeServeur> { { reponse.substr(0, coupe) }, { reponse.substr(coupe), 1s } };
    };
    struct Cas {
        const char* nom;
        std::vector<TEtapeServeur> script;
        std::chrono::milliseconds delaiLecture;
        TIssue attendu;
    };
    const Cas cas[] = {
        { "steady_drip_within_the_timeout", goutteAGoutte, 2s, Texte(u"lente") },
        { "gap_in_the_status_line", avecUnTrou(5), 100ms, DelaiDepasse },
        { "gap_in_the_head", avecUnTrou(20), 100ms, DelaiDepasse },
        { "gap_before_the_last_body_byte", avecUnTrou(reponse.size() - 1), 100ms, DelaiDepasse },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TReglagesClientHttp reglages = ReglagesDeGarde();
        reglages.delaiLecture = c.delaiLecture;
        TServeurScripte serveur(c.script, TFinServeur::GarderOuverte);
        EXPECT_EQ(Poster(serveur.Url(), "{}", reglages), c.attendu);
    }
}

// A port where the system completes connections that nobody ever accepts:
// the client connects, its request sits in the queue, and no byte ever
// comes back.
class TEcouteSansAccepter {
public:
    TEcouteSansAccepter()
    {
#ifdef _WIN32
        tq::DemarrerWinsock();
        fd_ = static_cast<std::intptr_t>(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
#else
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
#endif
        sockaddr_in adresse {};
        adresse.sin_family = AF_INET;
        adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t longueur = sizeof adresse;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 || ::listen(fd_, 4) != 0
            || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&adresse), &longueur) != 0)
            throw std::runtime_error("écoute locale impossible");
        port_ = ntohs(adresse.sin_port);
    }
    ~TEcouteSansAccepter()
    {
#ifdef _WIN32
        ::closesocket(static_cast<SOCKET>(fd_));
#else
        ::close(static_cast<int>(fd_));
#endif
    }
    TEcouteSansAccepter(const TEcouteSansAccepter&) = delete;
    TEcouteSansAccepter& operator=(const TEcouteSansAccepter&) = delete;

    std::string Url() const
    {
        return "http://127.0.0.1:" + std::to_string(port_);
    }

private:
    std::intptr_t fd_ = -1; // a file descriptor, or a Windows socket
    std::uint16_t port_ = 0;
};

TEST(ServeurHostile, PeerThatNeverReadsNorAnswers)
{
    TEcouteSansAccepter ecoute;
    TReglagesClientHttp reglages = ReglagesDeGarde();
    reglages.delaiLecture = 200ms;
    {
        SCOPED_TRACE("small_request_no_answer");
        EXPECT_EQ(Poster(ecoute.Url(), "{}", reglages), DelaiDepasse);
    }
    {
        // Far more than the socket buffers hold: sending itself stops moving.
        SCOPED_TRACE("request_larger_than_the_buffers");
        EXPECT_EQ(Poster(ecoute.Url(), std::string(64 << 20, 'r'), reglages), DelaiDepasse);
    }
}

} // namespace
} // namespace tq
