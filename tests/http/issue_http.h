#pragma once

// What one exchange came to, as the HTTP tests compare it: the answer's text,
// the protocol error (status code, status line, body text) or another failure
// (its message); and the two ways of getting one, from memory or over a socket.
#include "http/client_http.h"
#include "http/erreurs_http.h"
#include "http/lecteur_reponse.h"
#include "tests/http/source_memoire.h"
#include "platform/erreur.h"
#include "platform/texte_utf.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tq::test {

enum class TGenre { Texte, Protocole, Echec };

struct TIssue {
    TGenre genre;
    int code = 0;
    std::string message;
    std::u16string texte;

    bool operator==(const TIssue&) const = default;
};

inline void PrintTo(const TIssue& issue, std::ostream* os)
{
    const char* genres[] = { "Texte", "Protocole", "Echec" };
    *os << genres[static_cast<int>(issue.genre)] << " code=" << issue.code << " message=\"" << issue.message
        << "\" texte=\"" << VersUtf8(issue.texte) << "\"";
}

inline TIssue Texte(std::u16string texte)
{
    return { TGenre::Texte, 0, "", std::move(texte) };
}

inline TIssue Protocole(int code, std::string ligne, std::u16string corps)
{
    return { TGenre::Protocole, code, std::move(ligne), std::move(corps) };
}

inline TIssue Echec(std::string message)
{
    return { TGenre::Echec, 0, std::move(message), {} };
}

// Runs one read and tells how it ended.
template <class TLecture> TIssue IssueDe(TLecture lecture)
{
    try {
        return Texte(lecture());
    } catch (const ErreurProtocole& e) {
        return Protocole(e.CodeStatut(), e.what(), e.TexteCorps());
    } catch (const Erreur& e) {
        return Echec(e.what());
    }
}

// Reads an answer from memory, fed in the given pieces, into its text as Post
// does.
inline TIssue LireEnMemoire(std::string octets, std::vector<std::size_t> pieces, TFinSource fin,
                            const TReglagesClientHttp& reglages = {})
{
    TSourceMemoire source(std::move(octets), std::move(pieces), fin);
    return IssueDe([&] { return LireReponse(source, reglages).texte; });
}

inline TIssue Poster(const std::string& url, std::string_view corps, const TReglagesClientHttp& reglages = {})
{
    TClientHttp client(reglages);
    return IssueDe([&] { return client.Post(url, corps); });
}

} // namespace tq::test
