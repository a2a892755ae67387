#include "results/enregistrement.h"

#include "dossier_temporaire.h"

#include "contenu_fichier_resultats.h"
#include "results/erreurs_resultats.h"

namespace {

namespace fs = std::filesystem;

using Enregistrement = DossierTemporaire;

TEST_F(Enregistrement, ResultatsOctetParOctet)
{
    const fs::path chemin = dossier_ / "stats.csv";
    tq::EnregistrerResultats(uR"({"resultats":["a;b","c;d"]})", chemin);
    EXPECT_EQ(Lire(chemin), "a;b\r\nc;d\r\n");
    EXPECT_EQ(fs::file_size(chemin), 10u);
}

// A file far larger than the pieces the lines go to disk in: lines of every
// length, one longer than a piece by itself, elements that are not texts. The
// file holds exactly the bytes of the whole content built in memory.
TEST_F(Enregistrement, GrandFichierParMorceaux)
{
    std::u16string reponse = u"{\"resultats\":[";
    for (int i = 0; i < 60000; ++i) {
        reponse += u"\"" + std::u16string(static_cast<std::size_t>(i % 173), u"aé€;"[i % 4]) + u"\\\";" + u"\",";
        if (i == 30000)
            reponse += u"\"" + std::u16string(3 << 20, u'z') + u"\",{\"n\":[1,2.5,null]},true,";
    }
    reponse += u"\"fin\"]}";
    const std::string attendu = ContenuFichierResultats(reponse);
    ASSERT_GT(attendu.size(), std::size_t { 8 } << 20);
    const fs::path chemin = dossier_ / "stats.csv";
    Ecrire(chemin, "ancien\r\n");
    tq::EnregistrerResultats(reponse, chemin);
    EXPECT_TRUE(Lire(chemin) == attendu);
    EXPECT_EQ(fs::file_size(chemin), attendu.size());
    EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
}

TEST_F(Enregistrement, ReponseSansResultatsVideLeFichier)
{
    const std::u16string_view reponses[] = { uR"({"resultats":[]})", u"", u"<html>Erreur</html>" };
    for (std::u16string_view reponse : reponses) {
        SCOPED_TRACE(std::string(reponse.begin(), reponse.end()));
        const fs::path chemin = dossier_ / "stats.csv";
        Ecrire(chemin, "ancien\r\n");
        tq::EnregistrerResultats(reponse, chemin);
        EXPECT_TRUE(fs::exists(chemin));
        EXPECT_EQ(fs::file_size(chemin), 0u);
    }
}

TEST_F(Enregistrement, ReponseIllisibleNEcritRien)
{
    const fs::path chemin = dossier_ / "stats.csv";
    Ecrire(chemin, "ancien\r\n");
    const fs::path absent = dossier_ / "nouveau.csv";
    for (const fs::path& cible : { chemin, absent }) {
        SCOPED_TRACE(cible.filename().string());
        try {
            tq::EnregistrerResultats(uR"({"resultats":["a")", cible);
            ADD_FAILURE() << "an answer cut short was reported as written";
        } catch (const tq::Erreur& e) {
            EXPECT_STREQ(e.what(), "Réponse du serveur illisible : aucun fichier n'a été écrit");
        }
    }
    EXPECT_EQ(Lire(chemin), "ancien\r\n");
    EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
    // The answer is judged before the path: an unreadable answer says so even
    // where no file could be created.
    try {
        tq::EnregistrerResultats(uR"({"resultats":["a")", dossier_ / "absent" / "stats.csv");
        ADD_FAILURE() << "an answer cut short was reported as written";
    } catch (const tq::Erreur& e) {
        EXPECT_STREQ(e.what(), "Réponse du serveur illisible : aucun fichier n'a été écrit");
    }
}

TEST_F(Enregistrement, JsonEnUneLigne)
{
    const fs::path chemin = dossier_ / "centres.json";
    tq::EnregistrerJson(uR"({"centres":[]})", chemin);
    EXPECT_EQ(Lire(chemin), "{\"centres\":[]}\r\n");
    EXPECT_EQ(fs::file_size(chemin), 16u);

    tq::EnregistrerJson(u"", chemin);
    EXPECT_EQ(Lire(chemin), "\r\n");
}

TEST_F(Enregistrement, DossierAbsent)
{
#ifdef _WIN32
    GTEST_SKIP() << "the French text of a missing folder is the system's own (FormatMessage), checked in form by "
                    "FichierAtomiqueWindows";
#endif
    const fs::path chemin = dossier_ / "absent" / "stats.csv";
    const std::string attendu =
        "Impossible de créer le fichier \"" + chemin.string() + "\". Le chemin d'accès spécifié est introuvable";
    for (int operation = 0; operation < 2; ++operation) {
        SCOPED_TRACE(operation == 0 ? "resultats" : "json");
        try {
            if (operation == 0)
                tq::EnregistrerResultats(uR"({"resultats":["a;b"]})", chemin);
            else
                tq::EnregistrerJson(uR"({"centres":[]})", chemin);
            ADD_FAILURE() << "a file in a missing folder was reported as written";
        } catch (const tq::ErreurCreationFichier& e) {
            EXPECT_EQ(e.what(), attendu);
        }
    }
    EXPECT_FALSE(fs::exists(dossier_ / "absent"));
    EXPECT_TRUE(Noms(dossier_).empty());
}

} // namespace
