#include "query/transport.h"

#include "http/client_http.h"
#include "http/erreurs_http.h"
#include "platform/encodage_ansi.h"

namespace tq {

std::string UrlServeurStatistiques()
{
    return std::string("http://") + TQ_HOTE_SERVEUR + ":2019";
}

bool Interroger(std::u16string_view requete, std::u16string& resultatRequete, const TAjouterLog& ajouterLog,
                const std::string& url)
{
    resultatRequete.clear();
    // A fresh client for every call: no connection or setting outlives it.
    TClientHttp client;
    const std::string corps = VersAnsi(requete);
    try {
        resultatRequete = client.Post(url, corps);
        return true;
    } catch (const ErreurProtocole& erreur) {
        ajouterLog(u"Erreur: " + erreur.TexteCorps());
        return false;
    }
}

} // namespace tq
