// The stand-in server under load and bad input: many clients at once, each
// sending a mix of good queries, bodies that are not JSON, oversized bodies
// (with a length and in chunks) and texts that look like SQL, while eight
// slow clients send their requests one byte a second. Every answer under load
// must be the answer the same request gets alone (4xx for the bad ones), the
// slow clients must be cut off with a 408 once the delay has run out, the
// server must still answer afterwards, and its base must be byte for byte
// what it was.
//
// The load lasts TQ_CHARGE_SECONDES seconds (3 by default) with
// TQ_CHARGE_CLIENTS clients (50 by default), the slow clients until each has
// been cut off once; server/charge runs the long version and prints its
// figures.
#include "outils_test.h"
#include "server/demo.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono;
using tq::test::TexteRequete;

namespace {

int Parametre(const char* nom, int defaut)
{
    const char* valeur = std::getenv(nom);
    if (valeur == nullptr || *valeur == '\0')
        return defaut;
    const int n = std::atoi(valeur);
    return n > 0 ? n : defaut;
}

// FNV-1a over the file's bytes: enough to see that not one byte changed.
std::uint64_t Empreinte(const std::string& chemin)
{
    std::ifstream flux(chemin, std::ios::binary);
    std::uint64_t empreinte = 14695981039346656037ull;
    for (std::istreambuf_iterator<char> i(flux), fin; i != fin; ++i) {
        empreinte ^= static_cast<unsigned char>(*i);
        empreinte *= 1099511628211ull;
    }
    return empreinte;
}

std::set<std::string> Noms(const std::filesystem::path& dossier)
{
    std::set<std::string> noms;
    for (const auto& entree : std::filesystem::directory_iterator(dossier))
        noms.insert(entree.path().filename().string());
    return noms;
}

// What the server answered: its status and body, or -1 when no answer came.
struct TRecu {
    int statut = -1;
    std::string corps;
    bool operator==(const TRecu&) const = default;
};

enum class TCadrage { Longueur, Morceaux };

TRecu Poster(int port, const std::string& corps, TCadrage cadrage = TCadrage::Longueur)
{
    httplib::Client client("127.0.0.1", port);
    // Under load and sanitizers a statistics query may wait its turn a while.
    client.set_read_timeout(120, 0);
    client.set_write_timeout(120, 0);
    const httplib::Result r =
        cadrage == TCadrage::Longueur
            ? client.Post("/", corps, "application/json")
            : client.Post(
                "/",
                [&corps](std::size_t debut, httplib::DataSink& sink) {
                    if (debut < corps.size())
                        return sink.write(corps.data() + debut, std::min<std::size_t>(corps.size() - debut, 65536));
                    sink.done();
                    return true;
                },
                "application/json");
    if (!r)
        return { -1, httplib::to_string(r.error()) };
    return { r->status, r->body };
}

enum class TAttendu { Reponse, Refus400, Refus413 };

struct TRequeteCharge {
    const char* nom;
    std::string corps;
    TAttendu attendu;
    TCadrage cadrage = TCadrage::Longueur;
};

std::vector<TRequeteCharge> Requetes()
{
    std::string binaire;
    for (int i = 0; i < 512; ++i)
        binaire.push_back(static_cast<char>((i * 37) & 0xFF));
    std::string injectionMembres = TexteRequete(4, 1);
    injectionMembres.insert(1, "\"requetSql\":\"DELETE FROM centre; DROP TABLE centre\","
                               "\"libelle\":\"Robert'); DROP TABLE activite;--\",\"x\":\"\\\" OR 1=1 --\",");
    return {
        { "liste_centres", TexteRequete(4, 1), TAttendu::Reponse },
        { "statistiques", TexteRequete(100, 1, "01/01/2019", "15/03/2019"), TAttendu::Reponse },
        { "liste_acces", TexteRequete(100, 2), TAttendu::Reponse },
        { "sql_dans_les_membres_ignores", injectionMembres, TAttendu::Reponse },
        { "pas_du_json", "<html><body>bonjour</body></html>", TAttendu::Refus400 },
        { "json_coupe", "{\"type\":100,\"requeteId\":", TAttendu::Refus400 },
        { "octets_quelconques", binaire, TAttendu::Refus400 },
        { "sql_dans_une_date", TexteRequete(100, 1, "01/01/2019'; DROP TABLE activite; --", "31/03/2019"),
          TAttendu::Refus400 },
        { "guillemets_dans_une_date", TexteRequete(100, 1, "01/01/2019\\\" OR \\\"1\\\"=\\\"1", "\\\\"),
          TAttendu::Refus400 },
        { "sql_a_la_place_du_type", "{\"type\":\"4 OR 1=1\",\"requeteId\":1}", TAttendu::Refus400 },
        { "dix_megaoctets", TexteRequete(4, 1) + std::string(10 << 20, ' '), TAttendu::Refus413 },
        { "dix_megaoctets_en_morceaux", TexteRequete(4, 1) + std::string(10 << 20, ' '), TAttendu::Refus413,
          TCadrage::Morceaux },
    };
}

// A client that sends a request one byte a second, on a new connection each
// time the server cuts it off, until the end of the load and at least one
// cut; counts the cuts and the answers that were not the expected 408.
struct TClientLent {
    int coupures = 0;
    int autresReponses = 0;

    void Executer(int port, steady_clock::time_point fin, steady_clock::time_point limite)
    {
        const std::string requete = "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 300\r\n\r\n"
                                  + TexteRequete(4, 1) + std::string(300, ' ');
        const std::string texte = "Délai dépassé : la requête n'est pas arrivée entière à temps.";
        const std::string attendu =
            "HTTP/1.1 408 Request Timeout\r\nConnection: close\r\nContent-Length: " + std::to_string(texte.size())
            + "\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n" + texte;
        while ((steady_clock::now() < fin || coupures == 0) && steady_clock::now() < limite) {
            tq::test::TConnexionBrute connexion(port);
            std::size_t envoyes = 0;
            while (steady_clock::now() < limite && envoyes < requete.size()
                   && !connexion.ReponseOuFermeture(milliseconds(1000))) {
                if (!connexion.Envoyer(requete.substr(envoyes++, 1)))
                    break;
            }
            if (steady_clock::now() >= limite)
                break;
            if (connexion.LireJusquALaFermeture() == attendu)
                ++coupures;
            else
                ++autresReponses;
        }
    }
};

TEST(ChargeServeur, ReponsesInchangeesEtBaseIntacteSousLaCharge)
{
    const int secondes = Parametre("TQ_CHARGE_SECONDES", 3);
    const int clients = Parametre("TQ_CHARGE_CLIENTS", 50);

    tq::test::TDossierTemporaire dossier;
    const std::string base = dossier.Chemin("demo.sqlite");
    tq::CreerBaseDemo(base, 2019y / March / 15d);
    const std::uint64_t empreinteAvant = Empreinte(base);
    const std::set<std::string> nomsAvant = Noms(std::filesystem::path(base).parent_path());

    // Long enough for a refused ten-megabyte body to be read to its end
    // under load and sanitizers, so that its client gets the 413.
    const milliseconds delai = seconds(5);
    tq::test::TServeurEnFond serveur({ base, tq::TFormatDate(u"dd/MM/yyyy"), delai });
    const std::vector<TRequeteCharge> requetes = Requetes();

    // Each request alone first: the answer every later one must match.
    std::vector<TRecu> references;
    for (const TRequeteCharge& r : requetes) {
        SCOPED_TRACE(r.nom);
        references.push_back(Poster(serveur.Port(), r.corps, r.cadrage));
        const int statut = references.back().statut;
        switch (r.attendu) {
        case TAttendu::Reponse:
            EXPECT_EQ(statut, 200);
            break;
        case TAttendu::Refus400:
            EXPECT_EQ(statut, 400);
            EXPECT_FALSE(references.back().corps.empty());
            break;
        case TAttendu::Refus413:
            EXPECT_EQ(statut, 413);
            EXPECT_EQ(references.back().corps, "Requête trop volumineuse.");
            break;
        }
    }
    // Members that the server does not read change nothing in the answer.
    EXPECT_EQ(references[3], references[0]);
    ASSERT_FALSE(HasFailure());

    struct TCompte {
        std::atomic<long> envoyees { 0 };
        std::atomic<long> differentes { 0 };
        std::atomic<long> sansReponse { 0 };
    };
    std::vector<TCompte> comptes(requetes.size());
    std::atomic<long> parStatut200 { 0 }, parStatut4xx { 0 };
    const auto fin = steady_clock::now() + seconds(secondes);
    // Eight slow clients, as many as the HTTP library has workers: none of
    // them may keep the others from being answered.
    std::vector<TClientLent> lents(8);
    std::vector<std::thread> fils;
    for (TClientLent& lent : lents)
        fils.emplace_back([&]() { lent.Executer(serveur.Port(), fin, fin + delai + seconds(30)); });
    for (int f = 0; f < clients; ++f) {
        fils.emplace_back([&, f]() {
            // Each client starts at another place in the mix.
            for (std::size_t i = static_cast<std::size_t>(f); steady_clock::now() < fin; ++i) {
                const std::size_t k = i % requetes.size();
                // Every connection is answered at the first try: none is
                // reset while fifty clients open theirs at once.
                const TRecu recu = Poster(serveur.Port(), requetes[k].corps, requetes[k].cadrage);
                ++comptes[k].envoyees;
                if (recu.statut < 0)
                    ++comptes[k].sansReponse;
                else if (!(recu == references[k]))
                    ++comptes[k].differentes;
                if (recu.statut == 200)
                    ++parStatut200;
                else if (recu.statut >= 400 && recu.statut < 500)
                    ++parStatut4xx;
            }
        });
    }
    for (std::thread& fil : fils)
        fil.join();

    long total = 0;
    for (std::size_t k = 0; k < requetes.size(); ++k) {
        SCOPED_TRACE(requetes[k].nom);
        EXPECT_EQ(comptes[k].sansReponse.load(), 0);
        EXPECT_EQ(comptes[k].differentes.load(), 0);
        EXPECT_GT(comptes[k].envoyees.load(), 0);
        total += comptes[k].envoyees;
    }
    int coupures = 0;
    for (std::size_t i = 0; i < lents.size(); ++i) {
        SCOPED_TRACE("client lent " + std::to_string(i));
        EXPECT_GE(lents[i].coupures, 1);
        EXPECT_EQ(lents[i].autresReponses, 0);
        coupures += lents[i].coupures;
    }
    std::cout << "[ charge   ] " << clients << " clients, " << secondes << " s : " << total << " requêtes ("
              << total / secondes << " par seconde), " << parStatut200 << " en 200, " << parStatut4xx << " en 4xx ; "
              << lents.size() << " clients lents coupés " << coupures << " fois\n";
    for (std::size_t k = 0; k < requetes.size(); ++k)
        std::cout << "[ charge   ]   " << requetes[k].nom << " : " << comptes[k].envoyees << " envoyées, "
                  << comptes[k].differentes << " différentes, " << comptes[k].sansReponse << " sans réponse\n";

    // Still answering, with the same answer.
    EXPECT_EQ(Poster(serveur.Port(), requetes[0].corps), references[0]);
    EXPECT_EQ(Empreinte(base), empreinteAvant);
    EXPECT_EQ(Noms(std::filesystem::path(base).parent_path()), nomsAvant);
}

} // namespace
