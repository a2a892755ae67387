// Arbitrary bytes as the answer of a server, read from memory in pieces whose
// sizes the input's first bytes choose. However the stream is cut, reading it
// must give what reading it whole gives: the same answer or the same failure.
// A failure is always a tq::Erreur; a success never holds more body than the
// cap allows, nor less than the Content-Length it announced. Decoding the
// body as it arrives gives the text (or failure) of decoding it whole.
//
// Layout of an input: byte 0 gives the number of piece sizes (low 3 bits, plus
// one) and whether the peer stays silent at the end instead of closing (bit
// 3); the piece sizes follow, one byte each (0: whatever the reader asks);
// the rest is the answer.
#include "http/entetes_http.h"
#include "http/erreurs_http.h"
#include "http/lecteur_reponse.h"
#include "http/source_memoire.h"
#include "platform/erreur.h"

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
    std::string message;
    tq::TReponseHttp reponse;
    std::u16string texte;
};

bool MemesChamps(const tq::TEntetesHttp& a, const tq::TEntetesHttp& b)
{
    if (a.Champs().size() != b.Champs().size())
        return false;
    for (std::size_t i = 0; i < a.Champs().size(); ++i) {
        if (a.Champs()[i].nom != b.Champs()[i].nom || a.Champs()[i].valeur != b.Champs()[i].valeur)
            return false;
    }
    return true;
}

bool Egales(const TIssue& a, const TIssue& b)
{
    if (a.reussi != b.reussi || a.protocole != b.protocole || a.message != b.message || a.texte != b.texte)
        return false;
    if (!a.reussi && !a.protocole)
        return true;
    const tq::TReponseHttp& x = a.reponse;
    const tq::TReponseHttp& y = b.reponse;
    return x.codeStatut == y.codeStatut && x.ligneStatut == y.ligneStatut && MemesChamps(x.entetes, y.entetes)
        && x.typeMedia == y.typeMedia && x.charset == y.charset && x.longueurContenu == y.longueurContenu
        && x.corps == y.corps && x.garderConnexion == y.garderConnexion;
}

// Runs a read that gives the answer's text and tells how it ended.
template <class TLecture> TIssue IssueDe(TLecture lire)
{
    TIssue issue;
    try {
        issue.texte = lire(issue.reponse);
        issue.reussi = true;
    } catch (const tq::ErreurProtocole& e) {
        issue.protocole = true;
        issue.message = e.what();
        issue.texte = e.TexteCorps();
    } catch (const tq::Erreur& e) {
        issue.message = e.what();
    }
    return issue;
}

// The whole body kept as bytes, then decoded.
TIssue Lire(const std::string& octets, std::vector<std::size_t> pieces, tq::TFinSource fin)
{
    tq::TReglagesClientHttp reglages;
    reglages.tailleCorpsMax = TailleCorpsMax;
    tq::TSourceMemoire source(octets, std::move(pieces), fin);
    return IssueDe([&](tq::TReponseHttp& reponse) {
        reponse = tq::LireReponse(source, reglages);
        return tq::TexteReponse(reponse);
    });
}

// The same answer read as the client reads it, the body decoded as it
// arrives where the headers allow: the text or the failure must be those of
// reading the whole body first.
TIssue LireEnTexte(const std::string& octets, std::vector<std::size_t> pieces, tq::TFinSource fin)
{
    tq::TReglagesClientHttp reglages;
    reglages.tailleCorpsMax = TailleCorpsMax;
    tq::TSourceMemoire source(octets, std::move(pieces), fin);
    return IssueDe([&](tq::TReponseHttp& reponse) { return tq::LireTexteReponse(source, reglages, reponse); });
}

bool MemeTexte(const TIssue& a, const TIssue& b)
{
    return a.reussi == b.reussi && a.protocole == b.protocole && a.message == b.message && a.texte == b.texte
        && (!(a.reussi || a.protocole) || a.reponse.codeStatut == b.reponse.codeStatut);
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
    const TIssue enPieces = Lire(octets, pieces, fin);
    Verifier(Egales(entier, enPieces));
    Verifier(MemeTexte(entier, LireEnTexte(octets, pieces, fin)));

    if (entier.reussi || entier.protocole) {
        const tq::TReponseHttp& r = entier.reponse;
        Verifier(r.corps.size() <= TailleCorpsMax);
        // Only a body framed by the close itself may end at the close. A
        // redirection's body may be skipped, and these codes have none.
        const int code = r.codeStatut;
        const bool corpsLu = !(code >= 100 && code <= 399) || (code >= 200 && code <= 299 && code != 204);
        if (corpsLu && !tq::CorpsFragmente(r.entetes) && r.longueurContenu > 0)
            Verifier(r.corps.size() == static_cast<std::uint64_t>(r.longueurContenu));
        Verifier(entier.reussi == (r.codeStatut >= 200 && r.codeStatut <= 299));
    }
    return 0;
}
