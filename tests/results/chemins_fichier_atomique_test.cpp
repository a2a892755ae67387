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

} // namespace
