#include "outils_test.h"

#include "platform/texte_utf.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace tq::test {

TDossierTemporaire::TDossierTemporaire()
{
    std::string modele = (std::filesystem::temp_directory_path() / "tq_serveur_XXXXXX").string();
    if (mkdtemp(modele.data()) == nullptr)
        throw std::runtime_error("mkdtemp a échoué");
    dossier_ = modele;
}

TDossierTemporaire::~TDossierTemporaire()
{
    std::error_code erreur;
    std::filesystem::remove_all(dossier_, erreur);
}

TServeurEnFond::TServeurEnFond(TConfigurationServeur configuration)
    : serveur_(std::move(configuration))
{
    port_ = serveur_.Lier("127.0.0.1", 0);
    fil_ = std::thread([this]() { serveur_.Ecouter(); });
}

TServeurEnFond::~TServeurEnFond()
{
    serveur_.Arreter();
    fil_.join();
}

TConnexionBrute::TConnexionBrute(int port)
    : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
{
    sockaddr_in adresse {};
    adresse.sin_family = AF_INET;
    adresse.sin_port = htons(static_cast<std::uint16_t>(port));
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (socket_ < 0 || ::connect(socket_, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse) != 0)
        throw std::runtime_error("connexion à 127.0.0.1:" + std::to_string(port) + " impossible");
    const timeval garde { 30, 0 };
    ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &garde, sizeof garde);
    ::setsockopt(socket_, SOL_SOCKET, SO_SNDTIMEO, &garde, sizeof garde);
}

TConnexionBrute::~TConnexionBrute()
{
    ::close(socket_);
}

bool TConnexionBrute::Envoyer(std::string_view octets)
{
    while (!octets.empty()) {
        const ssize_t n = ::send(socket_, octets.data(), octets.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        octets.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool TConnexionBrute::ReponseOuFermeture(std::chrono::milliseconds attente)
{
    pollfd lecture { socket_, POLLIN, 0 };
    return ::poll(&lecture, 1, static_cast<int>(attente.count())) > 0;
}

std::string TConnexionBrute::LireJusquALaFermeture()
{
    std::string recu;
    char tampon[4096];
    for (ssize_t n; (n = ::recv(socket_, tampon, sizeof tampon, 0)) > 0;)
        recu.append(tampon, static_cast<std::size_t>(n));
    return recu;
}

std::string TexteRequete(int type, int requeteId, const std::string& debut, const std::string& fin)
{
    const std::string periode = debut.empty() && fin.empty()
                                  ? "\"periode1Debut\":null,\"periode1Fin\":null,"
                                  : "\"periode1Debut\":\"" + debut + "\",\"periode1Fin\":\"" + fin + "\",";
    return "{\"type\":" + std::to_string(type)
         + ",\"centre\":[],\"groupe\":[],\"requeteId\":" + std::to_string(requeteId)
         + ",\"requetSql\": null,\"id\":0,\"libelle\":null," + periode + "\"periode2Debut\":null,\"periode2Fin\":null}";
}

TValeurJson LireReponse(const std::string& corps)
{
    const std::u16string texte = DepuisUtf8(corps);
    // A round trip that changes the bytes means that some were not UTF-8.
    EXPECT_EQ(VersUtf8(texte), corps) << "la réponse n'est pas en UTF-8 valide";
    return LireJson(texte);
}

std::vector<std::u16string> Resultats(const std::string& corps)
{
    const TValeurJson document = LireReponse(corps);
    const TValeurJson* resultats = document.Membre(u"resultats");
    if (resultats == nullptr || resultats->genre != TValeurJson::TGenre::Tableau)
        throw std::runtime_error("pas de tableau « resultats »");
    std::vector<std::u16string> lignes;
    for (const TValeurJson& ligne : resultats->valeurs) {
        if (ligne.genre != TValeurJson::TGenre::Texte)
            throw std::runtime_error("une ligne n'est pas un texte");
        lignes.push_back(ligne.texte);
    }
    return lignes;
}

std::vector<std::u16string> Champs(std::u16string_view ligne)
{
    std::vector<std::u16string> champs(1);
    bool entreGuillemets = false;
    for (std::size_t i = 0; i < ligne.size(); ++i) {
        const char16_t c = ligne[i];
        if (entreGuillemets) {
            if (c == u'"' && i + 1 < ligne.size() && ligne[i + 1] == u'"') {
                champs.back().push_back(u'"');
                ++i;
            } else if (c == u'"') {
                entreGuillemets = false;
            } else {
                champs.back().push_back(c);
            }
        } else if (c == u'"') {
            entreGuillemets = true;
        } else if (c == u';') {
            champs.emplace_back();
        } else {
            champs.back().push_back(c);
        }
    }
    return champs;
}

} // namespace tq::test
