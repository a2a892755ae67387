#pragma once

#include "http/entetes_http.h"
#include "http/reglages_client_http.h"
#include "http/source_octets.h"

#include <string>

namespace tq {

// One successful answer, read in full and its body decoded.
struct TReponseHttp {
    int codeStatut = -1;
    std::string ligneStatut; // UTF-8, without its line end
    TEntetesHttp entetes;    // trailer fields and fields declared in an HTML body merged
    std::string typeMedia;
    std::string charset;
    std::u16string texte;
    bool garderConnexion = false;
};

// Reads one complete answer: interim 100 answers skipped, the body framed by
// chunks, by Content-Length or by the close, header fields declared in an
// HTML body merged, then the body decoded by its media type and charset. A
// status outside 200 to 299 throws ErreurProtocole carrying the body's text.
// An answer cut short, a line too long or a limit passed throws tq::Erreur; a
// failure of the source is its own (ErreurSocket for a socket).
TReponseHttp LireReponse(TSourceOctets& source, const TReglagesClientHttp& reglages = {});

} // namespace tq
