#include "http/client_http.h"

#include "http/lecteur_reponse.h"
#include "http/requete_http.h"
#include "http/resolution_hote.h"
#include "http/url_http.h"

namespace tq {

TClientHttp::TClientHttp(const TReglagesClientHttp& reglages)
    : reglages_(reglages)
{
}

std::u16string TClientHttp::Post(std::string_view url, std::string_view corps)
{
    const TUrlHttp destination = AnalyserUrl(url);
    const std::string entete = EnteteRequetePost(destination, corps.size());
    // Every request has its own connection, even after an answer that asked
    // to keep the previous one.
    socket_.Fermer();
    const std::uint32_t adresse = AdresseHote(destination.hote);
    socket_.Connecter(adresse, destination.port, reglages_.delaiConnexion, reglages_.delaiLecture);
    try {
        socket_.Envoyer(entete);
        socket_.Envoyer(corps);
        TReponseHttp reponse = LireReponse(socket_, reglages_);
        if (!reponse.garderConnexion)
            socket_.Fermer();
        return std::move(reponse.texte);
    } catch (...) {
        socket_.Fermer();
        throw;
    }
}

} // namespace tq
