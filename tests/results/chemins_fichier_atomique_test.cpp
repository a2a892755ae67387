#include "results/chemins_fichier_atomique.h"

#include <gtest/gtest.h>

#include <set>

namespace {

namespace fs = std::filesystem;

// Fresh hidden names beside the target until one is free or a failure of
// another kind ends the tries, 64 names at most.
TEST(NomsTemporaires, SoixanteQuatreEssaisAuPlus)
{
    constexpr int NomPris = 17;
    constexpr int Panne = 5;
    struct TCas {
        const char* nom;
        int reponseFinale; // what `creer` returns at the try `essaiFinal`
        int essaiFinal;    // 0: every name is taken
        int appelsAttendus;
        int codeAttendu;
    };
    const TCas cas[] = {
        { "premier nom libre", 0, 1, 1, 0 },
        { "libre au dernier essai", 0, 64, 64, 0 },
        { "tous pris", 0, 0, 64, NomPris },
        { "autre echec", Panne, 3, 3, Panne },
    };
    const fs::path cible = fs::path("dossier") / "stats.csv";
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        std::set<fs::path> noms;
        int appels = 0;
        const int code = tq::EssayerNomsTemporaires(cible, NomPris, [&](const fs::path& nom) {
            noms.insert(nom);
            EXPECT_EQ(nom.parent_path(), cible.parent_path());
            const std::string fichier = nom.filename().string();
            EXPECT_EQ(fichier.rfind(".stats.csv.", 0), 0u) << fichier;
            return ++appels == c.essaiFinal ? c.reponseFinale : NomPris;
        });
        EXPECT_EQ(code, c.codeAttendu);
        EXPECT_EQ(appels, c.appelsAttendus);
        EXPECT_EQ(noms.size(), static_cast<std::size_t>(appels));
    }
}

// The hidden name beside the target: a dot, the target's name cut to 100
// code units, never inside a character, then a random number and ".tmp", so
// that it stays a valid name however long the target's (255 bytes at most).
TEST(NomsTemporaires, NomCacheCoupeAuPlusACent)
{
    struct TCas {
        const char* nom;
        std::string cible;
        std::string debut;
        bool octets; // a name made of bytes (POSIX) only
    };
    std::string accentue = "x";
    for (int i = 0; i < 127; ++i)
        accentue += "\xC3\xA9";
    const TCas cas[] = {
        { "nom court garde entier", "stats.csv", ".stats.csv", false },
        { "coupe a cent", std::string(255, 'n'), "." + std::string(100, 'n'), false },
        { "jamais au milieu d'un caractere", accentue, accentue.substr(0, 99).insert(0, "."), true },
    };
    for (const TCas& c : cas) {
        if (c.octets && sizeof(fs::path::value_type) != 1)
            continue;
        SCOPED_TRACE(c.nom);
        const std::string nom = tq::NomTemporaire(fs::path(c.cible)).string();
        ASSERT_EQ(nom.size(), c.debut.size() + 13);
        EXPECT_EQ(nom.substr(0, c.debut.size()), c.debut);
        EXPECT_EQ(nom.substr(c.debut.size() + 9), ".tmp");
        const std::string nombre = nom.substr(c.debut.size(), 9);
        EXPECT_EQ(nombre.find_first_not_of("0123456789abcdef", 1), std::string::npos) << nombre;
        EXPECT_EQ(nombre[0], '.');
    }
}

} // namespace
