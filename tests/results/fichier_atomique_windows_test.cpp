// The Windows atomic file: the same promises as on Linux, through the
// system's own calls (UTF-16 paths, replacement by MoveFileExW/ReplaceFileW,
// the system's French error texts).
#include "results/fichier_atomique.h"

#include "dossier_temporaire.h"
#include "results/erreurs_resultats.h"

#include <windows.h>

namespace tq {
namespace {

using FichierAtomiqueWindows = DossierTemporaire;

TEST_F(FichierAtomiqueWindows, EcritRemplaceOuLaisseIntact)
{
    struct Cas {
        const char* nom;
        std::u8string fichier;
        const char* avant; // nullptr: no file there before
        bool valide;
        const char* apres; // nullptr: no file there after
    };
    const Cas cas[] = {
        { "new_file", u8"stats.csv", nullptr, true, "a;b\r\n\xE9\r\n" },
        { "replaced", u8"stats.csv", "ancien\r\n", true, "a;b\r\n\xE9\r\n" },
        { "not_committed_keeps_the_old", u8"stats.csv", "ancien\r\n", false, "ancien\r\n" },
        { "not_committed_leaves_nothing", u8"stats.csv", nullptr, false, nullptr },
        { "name_outside_the_ansi_code_page", u8"r\u00E9sum\u00E9-\u0153\u20AC-\u4E2D.csv", nullptr, true,
          "a;b\r\n\xE9\r\n" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::filesystem::path chemin = dossier_ / c.fichier;
        std::filesystem::remove(chemin);
        if (c.avant != nullptr)
            Ecrire(chemin, c.avant);
        {
            TFichierAtomique fichier(chemin);
            fichier.Ajouter("a;b\r\n");
            fichier.Ajouter("\xE9\r\n");
            if (c.valide)
                fichier.Valider();
        }
        if (c.apres != nullptr) {
            EXPECT_EQ(Lire(chemin), c.apres);
            EXPECT_EQ(Noms(dossier_), std::set<std::string> { chemin.filename().string() });
        } else {
            EXPECT_TRUE(Noms(dossier_).empty());
        }
    }
}

TEST_F(FichierAtomiqueWindows, EchecsDeCreationNommentLeCheminEtLaCause)
{
    std::filesystem::create_directory(dossier_ / "dossier");
    Ecrire(dossier_ / "lecture-seule.csv", "garde\r\n");
    SetFileAttributesW((dossier_ / "lecture-seule.csv").c_str(), FILE_ATTRIBUTE_READONLY);
    struct Cas {
        const char* nom;
        std::filesystem::path chemin;
    };
    const Cas cas[] = {
        { "missing_folder", dossier_ / "absent" / "stats.csv" },
        { "folder_at_the_path", dossier_ / "dossier" },
        { "read_only_file", dossier_ / "lecture-seule.csv" },
    };
    const std::set<std::string> avant = Noms(dossier_);
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::string prefixe = "Impossible de créer le fichier \"" + c.chemin.string() + "\". ";
        try {
            TFichierAtomique fichier(c.chemin);
            ADD_FAILURE() << "created";
        } catch (const ErreurCreationFichier& e) {
            const std::string message = e.what();
            ASSERT_EQ(message.substr(0, prefixe.size()), prefixe);
            // The system's own description, trimmed of its full stop and line end.
            const std::string cause = message.substr(prefixe.size());
            EXPECT_FALSE(cause.empty());
            EXPECT_NE(cause.back(), '.');
            EXPECT_NE(cause.back(), '\n');
        }
        EXPECT_EQ(Noms(dossier_), avant);
    }
    EXPECT_EQ(Lire(dossier_ / "lecture-seule.csv"), "garde\r\n");
    SetFileAttributesW((dossier_ / "lecture-seule.csv").c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
} // namespace tq
