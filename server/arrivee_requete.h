#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tq {

// Where the bytes of one HTTP request stand while they arrive.
enum class TEtatArrivee {
    EnCours,              // more bytes are needed
    Complete,             // head and body are all there
    TropVolumineuse,      // the body passes its limit (413)
    EnteteTropVolumineux, // no end of head within its limit (431)
    EncodageRefuse,       // a compressed body, which could grow past any limit once decoded (415)
    Incorrecte,           // a framing that cannot be followed (400)
};

struct TLimitesRequete {
    std::size_t entete = 16 * 1024;
    // The body as the handler gets it, whatever its framing.
    std::size_t corps = 64 * 1024;
};

// Follows the framing of one request as its bytes come in (the end of the
// head, then a body of known length, in chunks, or up to the client's close)
// and keeps them, so that the request is handed on only once it is whole
// and refused as soon as it passes a limit. Nothing past the limits is kept.
class TArriveeRequete {
public:
    explicit TArriveeRequete(TLimitesRequete limites = {});

    // Takes the bytes just received. Bytes after the end of the request, or
    // after a refusal, are not kept.
    TEtatArrivee Ajouter(std::string_view octets);

    // The client has closed its side: a body without length ends here, any
    // other request is left unfinished.
    TEtatArrivee Fin();

    TEtatArrivee Etat() const { return etat_; }

    // The request as received, head and framed body.
    const std::string& Octets() const { return octets_; }

private:
    enum class TCorps { Aucun, Longueur, Morceaux, JusquALaFermeture };
    enum class TPhase { Entete, Corps, TailleMorceau, DonneesMorceau, FinMorceau, Suite, Terminee };

    void LireEntete(std::string_view entete);
    void Suivre(std::size_t debut);
    // Each false when the bytes so far are followed and more are needed, or
    // when the request has ended.
    bool SuivreEntete(std::size_t debut);
    void SuivreCorps();
    void SuivreMorceaux();
    bool AvancerMorceaux();
    bool LireTailleMorceau(std::string_view ligne);
    bool LigneMorceau(std::size_t& position, std::size_t maximum, std::string_view& ligne);
    TEtatArrivee Arreter(TEtatArrivee etat);

    TLimitesRequete limites_;
    std::string octets_;
    TEtatArrivee etat_ = TEtatArrivee::EnCours;
    TPhase phase_ = TPhase::Entete;
    TCorps corps_ = TCorps::Aucun;
    std::size_t finEntete_ = 0;
    std::size_t longueur_ = 0;    // declared length, or the current chunk's rest
    std::size_t corpsRecu_ = 0;   // body bytes without their framing
    std::size_t positionLue_ = 0; // bytes of octets_ already followed
};

} // namespace tq
