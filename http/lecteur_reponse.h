#pragma once

#include "http/entetes_http.h"
#include "http/reglages_client_http.h"
#include "http/source_octets.h"

#include <cstdint>
#include <string>

namespace tq {

// One answer as the client keeps it once read in full.
struct TReponseHttp {
    int codeStatut = -1;
    std::string ligneStatut; // UTF-8, without its line end
    TEntetesHttp entetes;    // trailer fields of a chunked body appended
    std::string typeMedia;
    std::string charset;
    std::int64_t longueurContenu = -1;
    std::string corps;
    bool garderConnexion = false;
};

// Reads one complete answer: interim 100 answers skipped, the body framed by
// chunks, by Content-Length or by the close, header fields declared in an
// HTML body merged. Throws tq::Erreur (or ErreurSocket from the source) when
// the answer is cut short, a line is too long or a limit is passed.
TReponseHttp LireReponse(TSourceOctets& source, const TReglagesClientHttp& reglages = {});

// The body as text; a status outside 200 to 299 throws ErreurProtocole
// carrying that text instead.
std::u16string TexteReponse(const TReponseHttp& reponse);

// Reads one answer into `reponse` and gives its text, exactly as LireReponse
// then TexteReponse do, failures included. A body of known length that the
// headers declare as UTF-8 (other than HTML or XML, which may name a charset
// of their own) is decoded as it arrives and never kept whole as bytes:
// `reponse.corps` then stays empty.
std::u16string LireTexteReponse(TSourceOctets& source, const TReglagesClientHttp& reglages, TReponseHttp& reponse);

} // namespace tq
