// tq_reference_acces PORT FICHIER [--fsync]: what `tq_export acces FICHIER
// --serveur 127.0.0.1:PORT` does, built from plain pieces as a user of the
// best general libraries would write it, as the whole-process reference of
// the bench: one blocking socket posts the access list query and reads the
// answer into a buffer sized from its Content-Length, simdjson's DOM parses
// it, and the table writer converts each line of "resultats" straight into
// the file (no temporary file; fsync before closing with --fsync).

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <simdjson.h>

#include "bench/ecrivain_table.h"

namespace {

using namespace tq::bench;

// The access list query, as tq_export sends it.
constexpr std::string_view CorpsRequete =
    "{\"type\":100,\"centre\":[],\"groupe\":[],\"requeteId\":2,\"requetSql\": null,\"id\":0,\"libelle\":null,"
    "\"periode1Debut\":null,\"periode1Fin\":null,\"periode2Debut\":null,\"periode2Fin\":null}";

class TSocket {
public:
    explicit TSocket(int port)
        : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in adresse {};
        adresse.sin_family = AF_INET;
        adresse.sin_port = htons(static_cast<std::uint16_t>(port));
        adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0)
            throw std::runtime_error("cannot connect to 127.0.0.1");
    }
    ~TSocket() { ::close(fd_); }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;

    void Envoyer(std::string_view octets)
    {
        while (!octets.empty()) {
            const ssize_t n = ::send(fd_, octets.data(), octets.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw std::runtime_error("send failed");
            octets.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    // Up to `taille` bytes; 0 at the end of the stream.
    std::size_t Recevoir(char* tampon, std::size_t taille)
    {
        for (;;) {
            const ssize_t n = ::recv(fd_, tampon, taille, 0);
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                throw std::runtime_error("recv failed");
        }
    }

private:
    int fd_;
};

// The body of a 2xx answer framed by its Content-Length, in a buffer with
// simdjson's padding after it.
simdjson::padded_string Recevoir(TSocket& socket)
{
    std::string tete;
    char morceau[16384];
    std::size_t finTete;
    while ((finTete = tete.find("\r\n\r\n")) == std::string::npos) {
        const std::size_t n = socket.Recevoir(morceau, sizeof morceau);
        if (n == 0)
            throw std::runtime_error("answer cut in its head");
        tete.append(morceau, n);
    }
    if (tete.compare(0, 10, "HTTP/1.1 2") != 0 && tete.compare(0, 10, "HTTP/1.0 2") != 0)
        throw std::runtime_error("status outside 2xx");
    std::size_t longueur = std::string::npos;
    for (std::size_t ligne = tete.find("\r\n") + 2; ligne < finTete;) {
        const std::size_t fin = tete.find("\r\n", ligne);
        if (fin - ligne > 15 && strncasecmp(tete.data() + ligne, "content-length:", 15) == 0)
            longueur = std::strtoull(tete.data() + ligne + 15, nullptr, 10);
        ligne = fin + 2;
    }
    if (longueur == std::string::npos)
        throw std::runtime_error("no Content-Length");
    simdjson::padded_string corps(longueur);
    const std::size_t dejaLu = std::min(tete.size() - (finTete + 4), longueur);
    std::memcpy(corps.data(), tete.data() + finTete + 4, dejaLu);
    for (std::size_t lu = dejaLu; lu < longueur;) {
        const std::size_t n = socket.Recevoir(corps.data() + lu, longueur - lu);
        if (n == 0)
            throw std::runtime_error("answer cut in its body");
        lu += n;
    }
    return corps;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: tq_reference_acces PORT FICHIER [--fsync]\n");
        return 2;
    }
    try {
        const bool fsync = argc > 3 && std::string_view(argv[3]) == "--fsync";
        simdjson::padded_string corps;
        {
            TSocket socket(std::atoi(argv[1]));
            socket.Envoyer("POST / HTTP/1.1\r\nHost: 127.0.0.1:" + std::string(argv[1])
                           + "\r\nContent-Type: application/json\r\nContent-Length: "
                           + std::to_string(CorpsRequete.size()) + "\r\nConnection: close\r\n\r\n"
                           + std::string(CorpsRequete));
            corps = Recevoir(socket);
        }
        simdjson::dom::parser parseur;
        simdjson::dom::array lignes;
        if (parseur.parse(corps)["resultats"].get_array().get(lignes) != simdjson::SUCCESS)
            throw std::runtime_error("simdjson rejected the answer");
        const TEcrivainTable table;
        TFichierFlux fichier(argv[2], fsync ? TSynchronisation::Disque : TSynchronisation::Aucune);
        for (simdjson::dom::element ligne : lignes) {
            std::string_view texte;
            if (ligne.get_string().get(texte) != simdjson::SUCCESS)
                throw std::runtime_error("a line that is not a string");
            fichier.Ajouter(table, texte);
        }
        fichier.Fermer();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tq_reference_acces: %s\n", e.what());
        return 1;
    }
}
