// Arbitrary bytes as the answer of a server, read from memory in pieces whose
// sizes the input's first bytes choose. However the stream is cut, reading it
// must give what reading it whole gives: the same answer or the same failure.
// A failure is always a tq::Erreur, and a protocol error exactly a status
// outside 200 to 299. A body without a media type, one character per byte,
// never gives more text than the cap allows, nor less than the Content-Length
// it announced.
//
// Layout of an input: byte 0 gives the number of piece sizes (low 3 bits, plus
// one) and whether the peer stays silent at the end instead of closing (bit
// 3); the piece sizes follow, one byte each (0: whatever the reader asks);
// the rest is the answer.
#include "http/entetes_http.h"
#include "http/erreurs_http.h"
#include "http/lecteur_reponse.h"
#include "platform/erreur.h"
#include "tests/http/source_memoire.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A cap low enough that a short input can pass it.
constexpr std::uint64_t TailleCorpsMax = 4096;

// What one read came to, every field that the caller could see.
struct TIssue {
    bool reussi = false;
    bool protocole = false;
    int codeStatut = 0;
    std::string message;
    tq::TReponseHttp reponse;
};

bool Egales(const TIssue& a, const TIssue& b)
{
    const tq::TReponseHttp& x = a.reponse;
    const tq::TReponseHttp& y = b.reponse;
    return a.reussi == b.reussi && a.protocole == b.protocole && a.codeStatut == b.codeStatut && a.message == b.message
        && x.codeStatut == y.codeStatut && x.ligneStatut == y.ligneStatut && x.entetes == y.entetes
        && x.typeMedia == y.typeMedia && x.charset == y.charset && x.texte == y.texte
        && x.garderConnexion == y.garderConnexion;
}

TIssue Lire(const std::string& octets, std::vector<std::size_t> pieces, tq::TFinSource fin)
{
    tq::TReglagesClientHttp reglages;
    reglages.tailleCorpsMax = TailleCorpsMax;
    tq::TSourceMemoire source(octets, std::move(pieces), fin);
    TIssue issue;
    try {
        issue.reponse = tq::LireReponse(source, reglages);
        issue.reussi = true;
    } catch (const tq::ErreurProtocole& e) {
        issue.protocole = true;
        issue.codeStatut = e.CodeStatut();
        issue.message = e.what();
        issue.reponse.texte = e.TexteCorps();
    } catch (const tq::Erreur& e) {
        issue.message = e.what();
    }
    return issue;
}

void Verifier(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    if (taille == 0)
        return 0;
    const std::size_t nombrePieces = (donnees[0] & 7u) + 1;
    const tq::TFinSource fin = (donnees[0] & 8u) != 0 ? tq::TFinSource::Silence : tq::TFinSource::Fermeture;
    if (taille < 1 + nombrePieces)
        return 0;
    const std::vector<std::size_t> pieces(donnees + 1, donnees + 1 + nombrePieces);
    const std::string octets(reinterpret_cast<const char*>(donnees) + 1 + nombrePieces, taille - 1 - nombrePieces);

    const TIssue entier = Lire(octets, {}, fin);
    Verifier(Egales(entier, Lire(octets, pieces, fin)));

    if (entier.protocole)
        Verifier(entier.codeStatut < 200 || entier.codeStatut > 299);
    if (entier.reussi) {
        const tq::TReponseHttp& r = entier.reponse;
        Verifier(r.codeStatut >= 200 && r.codeStatut <= 299);
        if (r.entetes.Valeur("Content-Type") == nullptr) {
            Verifier(r.texte.size() <= TailleCorpsMax);
            const std::int64_t longueur = tq::LongueurContenu(r.entetes);
            if (r.codeStatut != 204 && !tq::CorpsFragmente(r.entetes) && longueur >= 0)
                Verifier(r.texte.size() == static_cast<std::uint64_t>(longueur));
        }
    }
    return 0;
}
