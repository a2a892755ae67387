#include "server/arrivee_requete.h"

#include "platform/caracteres.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace tq {

namespace {

// A chunk-size line holds a few hex digits and perhaps extensions; one far
// longer is not a client of this server.
constexpr std::size_t longueurMaximaleLigneMorceau = 256;

// The methods whose body the HTTP library reads up to the client's close when
// the request gives no length.
bool MethodeAvecCorps(std::string_view methode)
{
    for (const std::string_view m : { "POST", "PUT", "PATCH", "PRI", "DELETE" })
        if (methode == m)
            return true;
    return false;
}

} // namespace

TArriveeRequete::TArriveeRequete(TLimitesRequete limites)
    : limites_(limites)
{
}

TEtatArrivee TArriveeRequete::Arreter(TEtatArrivee etat)
{
    etat_ = etat;
    if (etat != TEtatArrivee::Complete)
        octets_.clear();
    phase_ = TPhase::Terminee;
    return etat_;
}

TEtatArrivee TArriveeRequete::Ajouter(std::string_view octets)
{
    if (etat_ != TEtatArrivee::EnCours)
        return etat_;
    const std::size_t debut = octets_.size();
    octets_.append(octets);
    Suivre(debut);
    return etat_;
}

TEtatArrivee TArriveeRequete::Fin()
{
    if (etat_ == TEtatArrivee::EnCours && corps_ == TCorps::JusquALaFermeture && phase_ == TPhase::Corps)
        return Arreter(TEtatArrivee::Complete);
    return etat_;
}

void TArriveeRequete::LireEntete(std::string_view entete)
{
    const std::size_t finPremiereLigne = entete.find("\r\n");
    const std::string_view methode = entete.substr(0, std::min(entete.find(' '), finPremiereLigne));
    std::string_view longueur, transfert, encodage;
    bool longueurVue = false, transfertVu = false, encodageVu = false;
    for (std::size_t debut = finPremiereLigne + 2; debut < entete.size();) {
        const std::size_t fin = entete.find("\r\n", debut);
        const std::string_view ligne = entete.substr(debut, fin - debut);
        debut = fin + 2;
        const std::size_t deuxPoints = ligne.find(':');
        if (deuxPoints == std::string_view::npos)
            continue;
        const std::string_view nom = ligne.substr(0, deuxPoints);
        const std::string_view valeur = SansBlancs(ligne.substr(deuxPoints + 1));
        // The first of two fields with one name counts, as for the library
        // that reads the request afterwards.
        if (EgauxSansCasse(nom, "Content-Length") && !std::exchange(longueurVue, true))
            longueur = valeur;
        else if (EgauxSansCasse(nom, "Transfer-Encoding") && !std::exchange(transfertVu, true))
            transfert = valeur;
        else if (EgauxSansCasse(nom, "Content-Encoding") && !std::exchange(encodageVu, true))
            encodage = valeur;
    }

    if (encodageVu && !EgauxSansCasse(encodage, "identity")) {
        Arreter(TEtatArrivee::EncodageRefuse);
    } else if (transfertVu) {
        if (!EgauxSansCasse(transfert, "chunked"))
            Arreter(TEtatArrivee::Incorrecte);
        else
            corps_ = TCorps::Morceaux;
    } else if (longueurVue) {
        const auto [fin, erreur] = std::from_chars(longueur.data(), longueur.data() + longueur.size(), longueur_);
        if (longueur.empty() || erreur == std::errc::result_out_of_range)
            Arreter(longueur.empty() ? TEtatArrivee::Incorrecte : TEtatArrivee::TropVolumineuse);
        else if (erreur != std::errc() || fin != longueur.data() + longueur.size())
            Arreter(TEtatArrivee::Incorrecte);
        else if (longueur_ > limites_.corps)
            Arreter(TEtatArrivee::TropVolumineuse);
        else
            corps_ = longueur_ == 0 ? TCorps::Aucun : TCorps::Longueur;
    } else if (MethodeAvecCorps(methode)) {
        corps_ = TCorps::JusquALaFermeture;
    }
}

// Reads one CRLF-ended line of the chunked framing from `position`; false
// while it is not all there. A line longer than `maximum` ends the request.
bool TArriveeRequete::LigneMorceau(std::size_t& position, std::size_t maximum, std::string_view& ligne)
{
    const std::size_t fin = octets_.find('\n', position);
    if (fin == std::string::npos) {
        if (octets_.size() - position > maximum)
            Arreter(TEtatArrivee::Incorrecte);
        return false;
    }
    if (fin == position || octets_[fin - 1] != '\r' || fin - position > maximum) {
        Arreter(TEtatArrivee::Incorrecte);
        return false;
    }
    ligne = std::string_view(octets_).substr(position, fin - 1 - position);
    position = fin + 1;
    return true;
}

void TArriveeRequete::Suivre(std::size_t debut)
{
    if (phase_ == TPhase::Entete && !SuivreEntete(debut))
        return;
    if (phase_ == TPhase::Corps)
        SuivreCorps();
    else
        SuivreMorceaux();
}

bool TArriveeRequete::SuivreEntete(std::size_t debut)
{
    const std::size_t fin = octets_.find("\r\n\r\n", debut < 3 ? 0 : debut - 3);
    if (fin == std::string::npos) {
        if (octets_.size() > limites_.entete)
            Arreter(TEtatArrivee::EnteteTropVolumineux);
        return false;
    }
    if (fin + 4 > limites_.entete) {
        Arreter(TEtatArrivee::EnteteTropVolumineux);
        return false;
    }
    finEntete_ = fin + 4;
    positionLue_ = finEntete_;
    LireEntete(std::string_view(octets_).substr(0, fin + 2));
    if (etat_ != TEtatArrivee::EnCours)
        return false;
    phase_ = corps_ == TCorps::Morceaux ? TPhase::TailleMorceau : TPhase::Corps;
    if (corps_ == TCorps::Aucun) {
        octets_.resize(finEntete_);
        Arreter(TEtatArrivee::Complete);
        return false;
    }
    return true;
}

void TArriveeRequete::SuivreCorps()
{
    if (corps_ == TCorps::Longueur) {
        if (octets_.size() >= finEntete_ + longueur_) {
            octets_.resize(finEntete_ + longueur_);
            Arreter(TEtatArrivee::Complete);
        }
    } else if (octets_.size() - finEntete_ > limites_.corps) {
        Arreter(TEtatArrivee::TropVolumineuse);
    }
}

void TArriveeRequete::SuivreMorceaux()
{
    // The framing around the body counts too, so that a flood of tiny chunks
    // or of extensions cannot be kept either.
    while (etat_ == TEtatArrivee::EnCours) {
        if (octets_.size() - finEntete_ > 2 * limites_.corps + longueurMaximaleLigneMorceau) {
            Arreter(TEtatArrivee::TropVolumineuse);
            return;
        }
        if (!AvancerMorceaux())
            return;
    }
}

bool TArriveeRequete::AvancerMorceaux()
{
    std::string_view ligne;
    switch (phase_) {
    case TPhase::TailleMorceau:
        return LigneMorceau(positionLue_, longueurMaximaleLigneMorceau, ligne) && LireTailleMorceau(ligne);
    case TPhase::DonneesMorceau: {
        const std::size_t pris = std::min(longueur_, octets_.size() - positionLue_);
        positionLue_ += pris;
        corpsRecu_ += pris;
        longueur_ -= pris;
        if (longueur_ > 0)
            return false;
        phase_ = TPhase::FinMorceau;
        return true;
    }
    case TPhase::FinMorceau:
        if (octets_.size() - positionLue_ < 2)
            return false;
        if (octets_.compare(positionLue_, 2, "\r\n") != 0) {
            Arreter(TEtatArrivee::Incorrecte);
            return false;
        }
        positionLue_ += 2;
        phase_ = TPhase::TailleMorceau;
        return true;
    case TPhase::Suite:
        // Trailer fields up to an empty line.
        if (!LigneMorceau(positionLue_, limites_.entete, ligne))
            return false;
        if (ligne.empty()) {
            octets_.resize(positionLue_);
            Arreter(TEtatArrivee::Complete);
            return false;
        }
        return true;
    default:
        return false;
    }
}

bool TArriveeRequete::LireTailleMorceau(std::string_view ligne)
{
    std::size_t taille = 0;
    const auto [fin, erreur] = std::from_chars(ligne.data(), ligne.data() + ligne.size(), taille, 16);
    const std::string_view reste = SansBlancs(std::string_view(fin, ligne.data() + ligne.size() - fin));
    if (fin == ligne.data() || (!reste.empty() && reste.front() != ';')) {
        Arreter(TEtatArrivee::Incorrecte);
        return false;
    }
    // A chunk announced past what is left of the limit is refused before its
    // first byte.
    if (erreur == std::errc::result_out_of_range || taille > limites_.corps - corpsRecu_) {
        Arreter(TEtatArrivee::TropVolumineuse);
        return false;
    }
    longueur_ = taille;
    phase_ = taille == 0 ? TPhase::Suite : TPhase::DonneesMorceau;
    return true;
}

} // namespace tq
