// How much room a body at the cap gets. Every allocation of the test program
// goes through here, so that the largest can be compared with the cap the
// reader was given.
#include "http/erreurs_http.h"
#include "http/lecteur_reponse.h"
#include "platform/erreur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace {

std::atomic<std::size_t> plusGrande { 0 };

} // namespace

void* operator new(std::size_t taille)
{
    void* p = std::malloc(taille == 0 ? 1 : taille);
    if (p == nullptr)
        throw std::bad_alloc();
    std::size_t ancienne = plusGrande.load();
    while (taille > ancienne && !plusGrande.compare_exchange_weak(ancienne, taille)) { }
    return p;
}

// The replaced operator new above takes its memory from malloc, so free is the
// matching release; the compiler cannot see that pairing and warns of a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace tq {
namespace {

// A peer that sends a head without length nor chunks, then body bytes without
// end, and counts the body bytes asked of it.
class TSourceSansFin final : public TSourceOctets {
public:
    std::size_t Lire(char* tampon, std::size_t taille) override
    {
        const std::string_view entete = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
        if (envoyes_ < entete.size()) {
            const std::size_t n = std::min(taille, entete.size() - envoyes_);
            std::memcpy(tampon, entete.data() + envoyes_, n);
            envoyes_ += n;
            return n;
        }
        std::memset(tampon, 'a', taille);
        envoyes_ += taille;
        return taille;
    }
    bool AttendreDonnees(std::chrono::milliseconds) override { return true; }

private:
    std::size_t envoyes_ = 0;
};

// A body framed by the close is refused once it passes the cap, and its room
// never grows past the cap to prove it: at a cap of a gigabyte, one byte more
// of room meant a copy of the whole gigabyte.
TEST(PlafondCorps, CorpsSansFinRefuseSansPlaceAuDelaDuPlafond)
{
    for (const std::uint64_t plafond : { std::uint64_t(1) << 20, std::uint64_t(3) << 20 }) {
        SCOPED_TRACE(plafond);
        TReglagesClientHttp reglages;
        reglages.tailleCorpsMax = plafond;
        TSourceSansFin source;
        plusGrande = 0;
        try {
            LireReponse(source, reglages);
            ADD_FAILURE() << "an endless body was accepted";
        } catch (const Erreur& e) {
            EXPECT_STREQ(e.what(), MessageReponseTropVolumineuse);
        }
        EXPECT_LE(plusGrande.load(), plafond);
    }
}

} // namespace
} // namespace tq
