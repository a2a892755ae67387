#include "http/erreurs_http.h"
#include "http/lecteur_reponse.h"
#include "tests/http/source_memoire.h"
#include "platform/texte_utf.h"
#include "tests/http/issue_http.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace std::literals;
using namespace tq::test;

namespace tq {
namespace {

TIssue Lire(const std::string& octets, const std::vector<std::size_t>& pieces, TFinSource fin,
            const TReglagesClientHttp& reglages)
{
    return LireEnMemoire(octets, pieces, fin, reglages);
}

// The ways the stream is cut: whole, byte by byte, small primes, and a few
// random schedules (fixed seeds, so a failure replays).
std::vector<std::vector<std::size_t>> Decoupages()
{
    std::vector<std::vector<std::size_t>> decoupages = { {}, { 1 }, { 2, 3, 5, 7, 11, 13 } };
    for (unsigned graine : { 1u, 2u, 3u }) {
        std::mt19937 generateur(graine);
        std::uniform_int_distribution<std::size_t> taille(1, 40);
        std::vector<std::size_t> pieces;
        for (int i = 0; i < 97; ++i)
            pieces.push_back(taille(generateur));
        decoupages.push_back(pieces);
    }
    return decoupages;
}

// A line of exactly n bytes before its line feed (its CR included).
std::string Ligne(std::string debut, std::size_t n)
{
    debut.resize(n - 1, 'x');
    return debut + "\r\n";
}

std::string Repete(const std::string& motif, std::size_t fois)
{
    std::string s;
    for (std::size_t i = 0; i < fois; ++i)
        s += motif;
    return s;
}

constexpr const char* Ok = "HTTP/1.1 200 OK\r\n";

struct Cas {
    const char* nom;
    std::string octets;
    TIssue attendu;
    TFinSource fin = TFinSource::Fermeture;
    std::size_t lignesEnteteMax = 255;
    std::uint64_t tailleCorpsMax = std::uint64_t(1) << 30;
};

void Verifier(const std::vector<Cas>& cas)
{
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TReglagesClientHttp reglages;
        reglages.lignesEnteteMax = c.lignesEnteteMax;
        reglages.tailleCorpsMax = c.tailleCorpsMax;
        for (const std::vector<std::size_t>& pieces : Decoupages()) {
            SCOPED_TRACE("pieces " + std::to_string(pieces.empty() ? 0 : pieces.front()) + "/"
                         + std::to_string(pieces.size()));
            EXPECT_EQ(Lire(c.octets, pieces, c.fin, reglages), c.attendu);
        }
    }
}

TEST(LecteurReponse, Framing)
{
    Verifier({
        { "content_length", Ok + "Content-Length: 3\r\n\r\nabc"s, Texte(u"abc") },
        { "content_length_extra_bytes_ignored", Ok + "Content-Length: 3\r\n\r\nabcdef"s, Texte(u"abc") },
        { "content_length_zero", Ok + "Content-Length: 0\r\n\r\nabc"s, Texte(u"") },
        { "continue_then_ok", "HTTP/1.1 100 Continue\r\n\r\n"s + Ok + "Content-Length: 2\r\n\r\nok", Texte(u"ok") },
        { "two_continues_with_headers",
          "HTTP/1.1 100 Continue\r\nX-A: 1\r\n\r\nHTTP/1.1 100 Continue\r\n\r\n"s + Ok + "\r\nok", Texte(u"ok") },
        { "no_content", "HTTP/1.1 204 No Content\r\n\r\n", Texte(u"") },
        { "no_content_body_never_read", "HTTP/1.1 204 No Content\r\nContent-Length: 3\r\n\r\n", Texte(u""),
          TFinSource::Silence },
        { "read_to_close", "HTTP/1.0 200 OK\r\n\r\nabc", Texte(u"abc") },
        { "read_to_close_empty", "HTTP/1.0 200 OK\r\n\r\n", Texte(u"") },
        { "negative_length_reads_to_close", Ok + "Content-Length: -5\r\n\r\nabc"s, Texte(u"abc") },
        { "non_numeric_length_reads_to_close", Ok + "Content-Length: 3x\r\n\r\nabcdef"s, Texte(u"abcdef") },
        { "chunked_with_trailer", Ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\nX-Fin: oui\r\n\r\n"s,
          Texte(u"abc") },
        { "chunked_several_with_extensions",
          Ok + "Transfer-Encoding: Chunked\r\n\r\n3;nom=v\r\nabc\r\n A \r\n0123456789\r\n0\r\n\r\n"s,
          Texte(u"abc0123456789") },
        { "chunked_beats_length",
          Ok + "Content-Length: 1\r\nTransfer-Encoding: gzip, chunked\r\n\r\n2\r\nab\r\n0\r\n\r\n"s, Texte(u"ab") },
        { "chunk_size_not_hex", Ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\n\r\n"s,
          Echec(MessageTailleFragmentInvalide) },
        { "chunk_line_without_cr", Ok + "Transfer-Encoding: chunked\r\n\r\n3\nabc\n0\n\n"s, Texte(u"abc") },
        { "lf_only_lines", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", Texte(u"ok") },
        { "first_length_wins", Ok + "Content-Length: 2\r\ncontent-length: 5\r\n\r\nabcde"s, Texte(u"ab") },
    });
}

TEST(LecteurReponse, CutShort)
{
    Verifier({
        { "nothing_at_all", "", Echec(MessageConnexionFermee) },
        { "inside_status_line", "HTTP/1.1 200", Echec(MessageConnexionFermee) },
        { "inside_headers", Ok + "Content-Length: 3\r\n"s, Echec(MessageConnexionFermee) },
        { "status_line_then_close", "bonjour\r\n", Echec(MessageConnexionFermee) },
        { "inside_length_body", Ok + "Content-Length: 10\r\n\r\nabcd"s, Echec(MessageConnexionFermee) },
        { "inside_chunk", Ok + "Transfer-Encoding: chunked\r\n\r\n5\r\nabc"s, Echec(MessageConnexionFermee) },
        { "before_last_chunk", Ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n"s, Echec(MessageConnexionFermee) },
        { "inside_trailers", Ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\nX: 1\r\n"s,
          Echec(MessageConnexionFermee) },
        { "after_interim_answer", "HTTP/1.1 100 Continue\r\n\r\n", Echec(MessageConnexionFermee) },
        { "silent_peer_times_out", Ok + "Content-Length: 10\r\n\r\nabcd"s,
          Echec("Erreur de socket n° 10060\r\nDélai de connexion dépassé."), TFinSource::Silence },
    });
}

TEST(LecteurReponse, Limits)
{
    Verifier({
        { "status_line_16384_bytes", Ligne("HTTP/1.1 200 ", 16384) + "Content-Length: 1\r\n\r\na", Texte(u"a") },
        { "status_line_16385_bytes", Ligne("HTTP/1.1 200 ", 16385) + "\r\n", Echec(MessageLigneTropLongue) },
        { "header_line_16384_bytes", Ok + Ligne("X-Long: ", 16384) + "\r\nab", Texte(u"ab") },
        { "header_line_16385_bytes", Ok + Ligne("X-Long: ", 16385) + "\r\nab", Echec(MessageLigneTropLongue) },
        { "header_line_16385_bytes_lf_only", Ok + std::string(16385, 'x') + "\n\r\nab", Echec(MessageLigneTropLongue) },
        { "endless_line", Ok + std::string(40000, 'x'), Echec(MessageLigneTropLongue) },
        { "chunk_line_16385_bytes", Ok + "Transfer-Encoding: chunked\r\n\r\n"s + Ligne("1;", 16385) + "a\r\n0\r\n\r\n",
          Echec(MessageLigneTropLongue) },
        { "header_lines_at_limit", Ok + Repete("X: 1\r\n", 255) + "\r\nab", Texte(u"ab") },
        { "header_lines_past_limit", Ok + Repete("X: 1\r\n", 256) + "\r\nab", Echec(MessageTropDeLignesEntete) },
        { .nom = "continuation_lines_count",
          .octets = Ok + "X: 1\r\n"s + Repete(" suite\r\n", 3) + "\r\n",
          .attendu = Echec(MessageTropDeLignesEntete),
          .lignesEnteteMax = 3 },
        { .nom = "trailer_lines_count",
          .octets = Ok + "Transfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\nA: 1\r\nB: 2\r\n\r\n"s,
          .attendu = Echec(MessageTropDeLignesEntete),
          .lignesEnteteMax = 2 },
        { "interim_answers_at_limit", Repete("HTTP/1.1 100 Continue\r\n\r\n", 255) + Ok + "\r\nab", Texte(u"ab") },
        { "interim_answers_past_limit", Repete("HTTP/1.1 100 Continue\r\n\r\n", 256) + Ok + "\r\nab",
          Echec(MessageTropDeReponsesIntermediaires) },
        { .nom = "length_at_body_limit",
          .octets = Ok + "Content-Length: 4\r\n\r\nabcd"s,
          .attendu = Texte(u"abcd"),
          .tailleCorpsMax = 4 },
        { .nom = "length_past_body_limit",
          .octets = Ok + "Content-Length: 5\r\n\r\nabcde"s,
          .attendu = Echec(MessageReponseTropVolumineuse),
          .tailleCorpsMax = 4 },
        { "huge_length", Ok + "Content-Length: 99999999999999999999999\r\n\r\nab"s,
          Echec(MessageReponseTropVolumineuse) },
        { .nom = "read_to_close_at_body_limit",
          .octets = "HTTP/1.0 200 OK\r\n\r\nabcd",
          .attendu = Texte(u"abcd"),
          .tailleCorpsMax = 4 },
        { .nom = "read_to_close_past_body_limit",
          .octets = "HTTP/1.0 200 OK\r\n\r\nabcde",
          .attendu = Echec(MessageReponseTropVolumineuse),
          .tailleCorpsMax = 4 },
        { .nom = "chunks_at_body_limit",
          .octets = Ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n1\r\nd\r\n0\r\n\r\n"s,
          .attendu = Texte(u"abcd"),
          .tailleCorpsMax = 4 },
        { .nom = "chunks_past_body_limit",
          .octets = Ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n"s,
          .attendu = Echec(MessageReponseTropVolumineuse),
          .tailleCorpsMax = 4 },
        { "chunk_size_overflow", Ok + "Transfer-Encoding: chunked\r\n\r\n1FFFFFFFFFFFFFFFF\r\n"s,
          Echec(MessageReponseTropVolumineuse) },
    });
}

TEST(LecteurReponse, StatusCodes)
{
    Verifier({
        { "ok_206", "HTTP/1.1 206 Partial Content\r\nContent-Length: 1\r\n\r\na", Texte(u"a") },
        { "ok_299", "HTTP/1.1 299 X\r\nContent-Length: 1\r\n\r\na", Texte(u"a") },
        { "internal_error", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 14\r\n\r\nerreur interne",
          Protocole(500, "HTTP/1.1 500 Internal Server Error", u"erreur interne") },
        { "not_found_without_body", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n",
          Protocole(404, "HTTP/1.1 404 Not Found", u"") },
        { "unauthorized", "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic\r\n\r\nnon",
          Protocole(401, "HTTP/1.1 401 Unauthorized", u"non") },
        { "proxy_auth", "HTTP/1.1 407 Proxy Authentication Required\r\n\r\n",
          Protocole(407, "HTTP/1.1 407 Proxy Authentication Required", u"") },
        { "redirection_with_body", "HTTP/1.1 302 Found\r\nLocation: http://ailleurs/\r\nContent-Length: 5\r\n\r\nvoila",
          Protocole(302, "HTTP/1.1 302 Found", u"voila") },
        { "redirection_silent_peer", "HTTP/1.1 302 Found\r\nLocation: http://ailleurs/\r\n\r\n",
          Protocole(302, "HTTP/1.1 302 Found", u""), TFinSource::Silence },
        { "redirection_then_close", "HTTP/1.1 301 Moved\r\nContent-Length: 5\r\n\r\n",
          Protocole(301, "HTTP/1.1 301 Moved", u"") },
        { "not_modified_body_never_read", "HTTP/1.1 304 Not Modified\r\nContent-Length: 3\r\n\r\n",
          Protocole(304, "HTTP/1.1 304 Not Modified", u""), TFinSource::Silence },
        { "switching_protocols_not_skipped", "HTTP/1.1 101 Switching Protocols\r\n\r\nxyz",
          Protocole(101, "HTTP/1.1 101 Switching Protocols", u"") },
        { "early_hints_not_skipped", "HTTP/1.1 103 Early Hints\r\n\r\n" + std::string(Ok) + "\r\n",
          Protocole(103, "HTTP/1.1 103 Early Hints", u"") },
        { "not_http", "bonjour\r\n\r\n", Protocole(-1, "bonjour", u"") },
        { "status_not_integer", "HTTP/1.1 2x0 OK\r\n\r\nab", Protocole(-1, "HTTP/1.1 2x0 OK", u"ab") },
        { "status_too_long", "HTTP/1.1 2000000000000 OK\r\n\r\n", Protocole(-1, "HTTP/1.1 2000000000000 OK", u"") },
        { "no_second_field", "HTTP/1.1\r\n\r\nab", Protocole(-1, "HTTP/1.1", u"ab") },
        { "blanks_between_fields", "HTTP/1.1   200  OK\r\n\r\nab", Texte(u"ab") },
        { "status_line_bytes_above_127", "HTTP/1.1 503 Indisponibilit\xE9\r\n\r\n",
          Protocole(503, "HTTP/1.1 503 Indisponibilit\xEF\xBF\xBD", u"") },
        { "error_body_decoded_like_success",
          "HTTP/1.1 500 Erreur\r\nContent-Type: text/plain; charset=utf-8\r\n\r\nd\xC3\xA9j\xC3\xA0",
          Protocole(500, "HTTP/1.1 500 Erreur", u"d\u00E9j\u00E0") },
    });
}

TEST(LecteurReponse, Charsets)
{
    const std::string e = "\xC3\xA9";
    Verifier({
        { "json_without_charset", Ok + "Content-Type: application/json\r\n\r\n"s + e, Texte(u"\u00C3\u00A9") },
        { "json_utf8", Ok + "Content-Type: application/json; charset=utf-8\r\n\r\n"s + e, Texte(u"\u00E9") },
        { "quoted_charset", Ok + "Content-Type: application/json; charset=\"UTF-8\"\r\n\r\n"s + e, Texte(u"\u00E9") },
        { "charset_name_case", Ok + "Content-Type: application/json; CHARSET=Utf-8\r\n\r\n"s + e, Texte(u"\u00E9") },
        { "text_plain_latin1", Ok + "Content-Type: text/plain\r\n\r\n"s + e, Texte(u"\u00C3\u00A9") },
        { "windows_1252", Ok + "Content-Type: text/plain; charset=windows-1252\r\n\r\n"s + e, Texte(u"\uFFFD\uFFFD") },
        { "text_xml_us_ascii", Ok + "Content-Type: text/xml\r\n\r\n"s + e, Texte(u"\uFFFD\uFFFD") },
        { "text_plus_xml_us_ascii", Ok + "Content-Type: Text/SVG+XML\r\n\r\n"s + e, Texte(u"\uFFFD\uFFFD") },
        { "no_content_type", Ok + "\r\n"s + e, Texte(u"\u00C3\u00A9") },
        { "unknown_charset", Ok + "Content-Type: text/plain; charset=utf8\r\n\r\n"s + e, Texte(u"\u00C3\u00A9") },
        { "utf8_bom_kept", Ok + "Content-Type: application/json; charset=utf-8\r\n\r\n\xEF\xBB\xBF{}"s,
          Texte(u"\uFEFF{}") },
        { "xml_utf16le_mark",
          Ok
              + "Content-Type: application/xml\r\n\r\n\xFF\xFE"
                "A\x00"s,
          Texte(u"A") },
        { "xml_declaration",
          Ok + "Content-Type: application/atom+xml\r\n\r\n<?xml version='1.0' encoding='utf-8'?>"s + e,
          Texte(u"<?xml version='1.0' encoding='utf-8'?>\u00E9") },
        { "html_meta_charset",
          Ok
              + "Content-Type: text/html\r\n\r\n<html><head><META HTTP-EQUIV=\"Content-Type\" "
                "CONTENT=\"text/html; charset=utf-8\"></head>"s
              + e,
          Texte(u"<html><head><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\"></head>\u00E9") },
        { "xhtml_meta_charset",
          Ok + "Content-Type: application/xhtml+xml\r\n\r\n<meta content='text/html;charset=koi8-r' http-equiv='content-type'/>\xC1"s,
          Texte(u"<meta content='text/html;charset=koi8-r' http-equiv='content-type'/>\u0430") },
        { "html_meta_replaces_header_charset",
          Ok + "Content-Type: text/html; charset=utf-8\r\n\r\n<meta http-equiv=content-type content=\"text/html; charset=iso-8859-1\">"s
              + e,
          Texte(u"<meta http-equiv=content-type content=\"text/html; charset=iso-8859-1\">\u00C3\u00A9") },
        { "html_without_meta", Ok + "Content-Type: text/html\r\n\r\n<p>"s + e, Texte(u"<p>\u00C3\u00A9") },
        { "html_meta_ignored_for_json",
          Ok + "Content-Type: application/json\r\n\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"s
              + e,
          Texte(u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\u00C3\u00A9") },
    });
}

// UTF-8 bodies (those of known length are decoded as they arrive, the others
// once whole): characters of two, three and four bytes split between chunks
// and between reads, a sequence cut by the end of the body, error statuses,
// and a cap that counts bytes, not characters.
TEST(LecteurReponse, Utf8Bodies)
{
    const std::string json = "Content-Type: application/json; charset=utf-8\r\n";
    const std::string texte = "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80!";
    const std::u16string attendu = u"\u00E9t\u00E9 \u20AC \U0001F600!";
    Verifier({
        { "length", Ok + json + "Content-Length: 15\r\n\r\n" + texte, Texte(attendu) },
        { "to_close", Ok + json + "\r\n" + texte, Texte(attendu) },
        { "chunks_split_inside_characters",
          Ok + json
              + "Transfer-Encoding: chunked\r\n\r\n1\r\n\xC3\r\n3\r\n\xA9t\xC3\r\n5\r\n\xA9 \xE2\x82\xAC\r\n"
                "2\r\n \xF0\r\n1\r\n\x9F\r\n3\r\n\x98\x80!\r\n0\r\n\r\n",
          Texte(attendu) },
        { "sequence_cut_by_the_end", Ok + json + "Content-Length: 4\r\n\r\na\xF0\x9F\x98", Texte(u"a\uFFFD") },
        { "sequence_cut_before_a_chunk_ends_the_body",
          Ok + json + "Transfer-Encoding: chunked\r\n\r\n2\r\na\xE2\r\n0\r\n\r\n", Texte(u"a\uFFFD") },
        { "ill_formed", Ok + json + "\r\n\xC0\xAF\xED\xA0\x80\xFF", Texte(u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD") },
        { "closed_inside_a_character", Ok + json + "Content-Length: 5\r\n\r\nab\xE2\x82",
          Echec(MessageConnexionFermee) },
        { "error_status", "HTTP/1.1 500 Erreur\r\n" + json + "Content-Length: 15\r\n\r\n" + texte,
          Protocole(500, "HTTP/1.1 500 Erreur", attendu) },
        { .nom = "cap_counts_bytes",
          .octets = Ok + json + "\r\n" + texte,
          .attendu = Echec(MessageReponseTropVolumineuse),
          .tailleCorpsMax = 14 },
        { .nom = "cap_reached_exactly",
          .octets = Ok + json + "\r\n" + texte,
          .attendu = Texte(attendu),
          .tailleCorpsMax = 15 },
    });
}

TEST(LecteurReponse, KeptFields)
{
    struct CasChamp {
        const char* nom;
        std::string octets;
        const char* champ;
        const char* valeur; // nullptr: the field is absent
        bool garder;
    };
    const CasChamp cas[] = {
        { .nom = "trailer_appended",
          .octets =
              Ok
              + "Transfer-Encoding: chunked\r\nX-Fin: tete\r\n\r\n1\r\na\r\n0\r\nX-Fin: queue\r\nX-Trailer: oui\r\n\r\n"s,
          .champ = "x-trailer",
          .valeur = "oui",
          .garder = false },
        { .nom = "first_occurrence_wins",
          .octets = Ok + "X-Double: un\r\nx-double: deux\r\n\r\n"s,
          .champ = "X-DOUBLE",
          .valeur = "un",
          .garder = false },
        { .nom = "continuation_joined",
          .octets = Ok + "X-Suite: a\r\n  b\r\n\tc  \r\n\r\n"s,
          .champ = "X-Suite",
          .valeur = "a b c",
          .garder = false },
        { .nom = "value_trimmed",
          .octets = Ok + "X-Blancs: \t v a l \t\r\n\r\n"s,
          .champ = "X-Blancs",
          .valeur = "v a l",
          .garder = false },
        { .nom = "line_without_colon_ignored",
          .octets = Ok + "pas un champ\r\n\r\n"s,
          .champ = "pas un champ",
          .valeur = nullptr,
          .garder = false },
        { .nom = "interim_headers_forgotten",
          .octets = "HTTP/1.1 100 Continue\r\nX-Provisoire: 1\r\n\r\n"s + Ok + "\r\n",
          .champ = "X-Provisoire",
          .valeur = nullptr,
          .garder = false },
        { .nom = "keep_alive",
          .octets = Ok + "Connection: Keep-Alive\r\nContent-Length: 0\r\n\r\n"s,
          .champ = "Connection",
          .valeur = "Keep-Alive",
          .garder = true },
        { .nom = "proxy_keep_alive",
          .octets = Ok + "Proxy-Connection: keep-alive\r\nContent-Length: 0\r\n\r\n"s,
          .champ = "Connection",
          .valeur = nullptr,
          .garder = true },
        { .nom = "close",
          .octets = Ok + "Connection: close\r\nContent-Length: 0\r\n\r\n"s,
          .champ = "Connection",
          .valeur = "close",
          .garder = false },
        { .nom = "meta_field_merged",
          .octets =
              Ok + "Content-Type: text/html\r\nX-Etat: entete\r\n\r\n<meta http-equiv=\"X-Etat\" content=\"meta\">"s,
          .champ = "X-Etat",
          .valeur = "meta",
          .garder = false },
        { .nom = "meta_keep_alive",
          .octets = Ok + "Content-Type: text/html\r\n\r\n<meta http-equiv=\"Connection\" content=\"keep-alive\">"s,
          .champ = "Connection",
          .valeur = "keep-alive",
          .garder = true },
    };
    for (const CasChamp& c : cas) {
        SCOPED_TRACE(c.nom);
        TSourceMemoire source(c.octets, { 3 });
        const TReponseHttp reponse = LireReponse(source);
        const std::string* valeur = reponse.entetes.Valeur(c.champ);
        if (c.valeur == nullptr) {
            EXPECT_EQ(valeur, nullptr);
        } else {
            ASSERT_NE(valeur, nullptr);
            EXPECT_EQ(*valeur, c.valeur);
        }
        EXPECT_EQ(reponse.garderConnexion, c.garder);
    }
}

TEST(LecteurReponse, ContentTypeParts)
{
    struct CasType {
        const char* nom;
        const char* contentType; // nullptr: no Content-Type field
        const char* typeMedia;
        const char* charset;
    };
    const CasType cas[] = {
        { "absent", nullptr, "", "" },
        { "json", "application/json", "application/json", "" },
        { "charset_removed_other_parameters_kept", "text/html; q=1; charset=\"UTF-8\"; x=y", "text/html; q=1; x=y",
          "UTF-8" },
        { "text_default", "text/csv", "text/csv", "ISO-8859-1" },
        { "text_xml_default", "TEXT/XML", "TEXT/XML", "us-ascii" },
        { "external_entity_default", "text/xml-external-parsed-entity", "text/xml-external-parsed-entity", "us-ascii" },
        { "text_plus_xml_default", "text/rss+xml", "text/rss+xml", "us-ascii" },
        { "application_plus_xml_no_default", "application/rss+xml", "application/rss+xml", "" },
        { "empty_charset_is_given", "text/plain; charset=", "text/plain", "" },
    };
    for (const CasType& c : cas) {
        SCOPED_TRACE(c.nom);
        std::string octets = Ok;
        if (c.contentType != nullptr)
            octets += "Content-Type: "s + c.contentType + "\r\n";
        octets += "Content-Length: 0\r\n\r\n";
        TSourceMemoire source(octets);
        const TReponseHttp reponse = LireReponse(source);
        EXPECT_EQ(reponse.typeMedia, c.typeMedia);
        EXPECT_EQ(reponse.charset, c.charset);
    }
}

TEST(LecteurReponse, LargeBodyAcrossManyReads)
{
    std::string corps;
    for (int i = 0; corps.size() < 300000; ++i)
        corps += "ligne " + std::to_string(i) + " \xC3\xA9\n";
    for (const std::string& entete : { "Content-Length: " + std::to_string(corps.size()) + "\r\n", ""s }) {
        SCOPED_TRACE(entete.empty() ? "read_to_close" : "content_length");
        TSourceMemoire source(Ok + "Content-Type: text/plain; charset=utf-8\r\n"s + entete + "\r\n" + corps,
                              { 1000, 70000, 1, 32768 });
        EXPECT_EQ(LireReponse(source).texte, DepuisUtf8(corps));
    }
}

} // namespace
} // namespace tq
