// The framing of a request followed as its bytes arrive: each case is fed
// whole, byte by byte and in random pieces, and must end the same way.
#include "server/arrivee_requete.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using tq::TArriveeRequete;
using tq::TEtatArrivee;

namespace {

constexpr tq::TLimitesRequete limites { 200, 100 };

std::string Tete(const std::string& champs, const char* methode = "POST")
{
    return std::string(methode) + " / HTTP/1.1\r\nHost: x\r\n" + champs + "\r\n";
}

// Feeds the bytes in pieces of the given sizes (cycled), then the close if
// asked, and gives the final state.
TEtatArrivee Nourrir(TArriveeRequete& arrivee, const std::string& octets, const std::vector<std::size_t>& tailles,
                     bool fermer)
{
    for (std::size_t i = 0, k = 0; i < octets.size(); ++k) {
        const std::size_t n = std::min(tailles[k % tailles.size()], octets.size() - i);
        arrivee.Ajouter(std::string_view(octets).substr(i, n));
        i += n;
    }
    return fermer ? arrivee.Fin() : arrivee.Etat();
}

TEST(ArriveeRequete, FinDeLaRequeteSelonSonCadrage)
{
    struct Cas {
        const char* nom;
        std::string octets;
        bool fermer; // the client closes after the bytes
        TEtatArrivee attendu;
        std::size_t apres; // bytes after the request's end, not kept
    };
    const std::string cent(100, 'x');
    const Cas cas[] = {
        { "sans corps", Tete("", "GET") + "suite", false, TEtatArrivee::Complete, 5 },
        { "longueur zero", Tete("Content-Length: 0\r\n") + "suite", false, TEtatArrivee::Complete, 5 },
        { "longueur", Tete("content-length:  5 \r\n") + "abcdesuite", false, TEtatArrivee::Complete, 5 },
        { "longueur au maximum", Tete("Content-Length: 100\r\n") + cent, false, TEtatArrivee::Complete, 0 },
        { "longueur incomplete", Tete("Content-Length: 5\r\n") + "abcd", false, TEtatArrivee::EnCours, 0 },
        { "morceaux", Tete("Transfer-Encoding: chunked\r\n") + "3;ext=1\r\nabc\r\nA\r\n0123456789\r\n0\r\n\r\nsuite",
          false, TEtatArrivee::Complete, 5 },
        { "morceaux avec suite d'en-tete", Tete("Transfer-Encoding: Chunked\r\n") + "1\r\na\r\n0\r\nX-Fin: 1\r\n\r\n",
          false, TEtatArrivee::Complete, 0 },
        { "morceaux au maximum", Tete("Transfer-Encoding: chunked\r\n") + "64\r\n" + cent + "\r\n0\r\n\r\n", false,
          TEtatArrivee::Complete, 0 },
        { "morceaux sans le dernier", Tete("Transfer-Encoding: chunked\r\n") + "3\r\nabc\r\n", true,
          TEtatArrivee::EnCours, 0 },
        { "morceaux avant longueur",
          Tete("Content-Length: 1\r\nTransfer-Encoding: chunked\r\n") + "1\r\na\r\n0\r\n\r\n", false,
          TEtatArrivee::Complete, 0 },
        { "jusqu'a la fermeture", Tete("") + "corps", true, TEtatArrivee::Complete, 0 },
        { "jusqu'a la fermeture pas encore", Tete("") + "corps", false, TEtatArrivee::EnCours, 0 },
        { "longueur trop grande", Tete("Content-Length: 101\r\n"), false, TEtatArrivee::TropVolumineuse, 0 },
        { "longueur demesuree", Tete("Content-Length: 99999999999999999999999\r\n"), false,
          TEtatArrivee::TropVolumineuse, 0 },
        { "morceau annonce trop grand", Tete("Transfer-Encoding: chunked\r\n") + "65\r\n", false,
          TEtatArrivee::TropVolumineuse, 0 },
        { "morceaux passant la limite",
          Tete("Transfer-Encoding: chunked\r\n") + "50\r\n" + std::string(80, 'x') + "\r\n15\r\n", false,
          TEtatArrivee::TropVolumineuse, 0 },
        { "cadrage en flot", Tete("Transfer-Encoding: chunked\r\n") + std::string(300, '0') + "1", false,
          TEtatArrivee::Incorrecte, 0 },
        { "jusqu'a la fermeture trop long", Tete("") + cent + "x", false, TEtatArrivee::TropVolumineuse, 0 },
        { "entete sans fin", "POST / HTTP/1.1\r\nX: " + std::string(200, 'a'), false,
          TEtatArrivee::EnteteTropVolumineux, 0 },
        { "corps compresse", Tete("Content-Encoding: gzip\r\nContent-Length: 3\r\n") + "abc", false,
          TEtatArrivee::EncodageRefuse, 0 },
        { "encodage identite", Tete("Content-Encoding: identity\r\nContent-Length: 1\r\n") + "a", false,
          TEtatArrivee::Complete, 0 },
        { "autre transfert", Tete("Transfer-Encoding: gzip, chunked\r\n") + "0\r\n\r\n", false,
          TEtatArrivee::Incorrecte, 0 },
        { "longueur pas un nombre", Tete("Content-Length: 1x\r\n") + "ab", false, TEtatArrivee::Incorrecte, 0 },
        { "taille de morceau pas hexadecimale", Tete("Transfer-Encoding: chunked\r\n") + "0x3\r\nabc\r\n", false,
          TEtatArrivee::Incorrecte, 0 },
        { "morceau sans CR LF apres", Tete("Transfer-Encoding: chunked\r\n") + "1\r\nab\r\n", false,
          TEtatArrivee::Incorrecte, 0 },
    };
    std::mt19937 hasard(2019);
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        std::vector<std::vector<std::size_t>> decoupages = { { c.octets.size() }, { 1 } };
        for (int i = 0; i < 5; ++i) {
            std::vector<std::size_t> tailles;
            for (int k = 0; k < 20; ++k)
                tailles.push_back(1 + hasard() % 17);
            decoupages.push_back(tailles);
        }
        for (const auto& tailles : decoupages) {
            TArriveeRequete arrivee(limites);
            EXPECT_EQ(Nourrir(arrivee, c.octets, tailles, c.fermer), c.attendu);
            if (c.attendu == TEtatArrivee::Complete) {
                EXPECT_EQ(arrivee.Octets(), c.octets.substr(0, c.octets.size() - c.apres));
            } else if (c.attendu != TEtatArrivee::EnCours) {
                EXPECT_TRUE(arrivee.Octets().empty());
            }
        }
    }
}

} // namespace
