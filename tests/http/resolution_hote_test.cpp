#include "http/erreurs_http.h"
#include "http/resolution_hote.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

#include <string>

namespace tq {
namespace {

TEST(ResolutionHote, AsciiFormOfNames)
{
    struct Cas {
        const char* nom;
        std::string hote;
        const char* ascii; // nullptr: no ASCII form, 11001
    };
    const Cas cas[] = {
        { "ascii_kept_as_written", "Serveur-Stats.example", "Serveur-Stats.example" },
        { "accented_label", "caf\xC3\xA9.fr", "xn--caf-dma.fr" },
        { "upper_case_folded",
          "B\xC3\x9C"
          "CHER.example",
          "xn--bcher-kva.example" },
        // The system's conversion on Windows (IdnToAscii) maps the sharp s
        // to "ss" as the first version of international names did.
        { "sharp_s_kept",
          "stra\xC3\x9F"
          "e.de",
#ifdef _WIN32
          "strasse.de" },
#else
          "xn--strae-oqa.de" },
#endif
        { "every_label", "\xC3\xA9t\xC3\xA9.caf\xC3\xA9", "xn--t-9fab.xn--caf-dma" },
        { "invalid_utf8", "caf\xC3.fr", nullptr },
        { "label_too_long", std::string(64, 'a') + "\xC3\xA9.fr", nullptr },
        { "name_far_too_long", std::string(2000, 'a') + "\xC3\xA9", nullptr },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        if (c.ascii != nullptr) {
            EXPECT_EQ(NomHoteAscii(c.hote), c.ascii);
            continue;
        }
        try {
            NomHoteAscii(c.hote);
            ADD_FAILURE() << "converted";
        } catch (const ErreurSocket& e) {
            EXPECT_EQ(e.Numero(), 11001);
        }
    }
}

TEST(ResolutionHote, AddressesTakenWithoutResolution)
{
    struct Cas {
        const char* nom;
        const char* hote;
        const char* adresse;
    };
    const Cas cas[] = {
        { "localhost", "localhost", "127.0.0.1" },
        { "localhost_upper_case", "LOCALHOST", "127.0.0.1" },
        { "localhost_mixed_case", "LocalHost", "127.0.0.1" },
        { "dotted_loopback", "127.0.0.2", "127.0.0.2" },
        { "dotted_address_as_written", "10.20.30.40", "10.20.30.40" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        in_addr attendu {};
        ASSERT_EQ(inet_pton(AF_INET, c.adresse, &attendu), 1);
        EXPECT_EQ(AdresseHote(c.hote), attendu.s_addr);
    }
}

} // namespace
} // namespace tq
