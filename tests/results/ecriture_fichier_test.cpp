#include "results/ecriture_fichier.h"

#include "dossier_temporaire.h"

#include <csignal>
#include <functional>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "results/erreurs_resultats.h"

namespace {

namespace fs = std::filesystem;

const std::string Ancien = "ancien contenu\r\n";
const std::string Nouveau = "a;b\r\nc;d\r\n";

std::string MessageEchec(const fs::path& chemin, const std::string& octets)
{
    try {
        tq::EcrireFichierEntier(chemin, octets);
    } catch (const tq::Erreur& e) {
        return e.what();
    }
    return "";
}

std::string Creation(const fs::path& chemin, const std::string& description)
{
    return "Impossible de créer le fichier \"" + chemin.string() + "\". " + description;
}

// Sets or clears the immutable attribute; false where the file system has none.
bool Immuable(const fs::path& chemin, bool oui)
{
    const int d = open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
    if (d < 0)
        return false;
    int attributs = 0;
    bool bon = ioctl(d, FS_IOC_GETFLAGS, &attributs) == 0;
    if (bon) {
        attributs = oui ? (attributs | FS_IMMUTABLE_FL) : (attributs & ~FS_IMMUTABLE_FL);
        bon = ioctl(d, FS_IOC_SETFLAGS, &attributs) == 0;
    }
    close(d);
    return bon;
}

class EcritureFichier : public DossierTemporaire {
public:
    bool RendreImmuable(const fs::path& chemin)
    {
        if (!Immuable(chemin, true))
            return false;
        immuables_.push_back(chemin);
        return true;
    }

    bool Monter(const fs::path& point, const char* options) { return MonterTmpfs(point, options); }

protected:
    void TearDown() override
    {
        for (const fs::path& p : immuables_)
            Immuable(p, false);
        DossierTemporaire::TearDown();
    }

    // What a case needs beyond a plain folder.
    enum class TBesoin { Rien, Attributs, Montage };

    // Each case prepares its folder, then the save must fail with the message,
    // leave the file that was at the path as it was and leave no other file.
    struct TCasEchec {
        const char* nom;
        TBesoin besoin;
        std::function<void(EcritureFichier&, const fs::path& dossier, fs::path& chemin)> preparer;
        std::string description; // empty for a failure while writing
    };

    static const std::vector<TCasEchec>& Cas();

    // Runs the cases that need `besoin`; skips them all, with the reason,
    // when this process cannot give it.
    void VerifierEchecs(TBesoin besoin);

    std::vector<fs::path> immuables_;
};

TEST_F(EcritureFichier, NouveauFichier)
{
    const fs::path chemin = dossier_ / "stats.csv";
    tq::EcrireFichierEntier(chemin, Nouveau);
    EXPECT_EQ(Lire(chemin), Nouveau);
    EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
    const mode_t masque = umask(0);
    umask(masque);
    struct stat etat { };
    ASSERT_EQ(stat(chemin.c_str(), &etat), 0);
    EXPECT_EQ(etat.st_mode & 0777, 0666 & ~masque);
}

TEST_F(EcritureFichier, RemplaceEnGardantLesDroits)
{
    const fs::path chemin = dossier_ / "stats.csv";
    Ecrire(chemin, Ancien + Ancien);
    ASSERT_EQ(chmod(chemin.c_str(), 0640), 0);
    tq::EcrireFichierEntier(chemin, Nouveau);
    EXPECT_EQ(Lire(chemin), Nouveau);
    struct stat etat { };
    ASSERT_EQ(stat(chemin.c_str(), &etat), 0);
    EXPECT_EQ(etat.st_mode & 07777, 0640u);
    EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });

    tq::EcrireFichierEntier(chemin, "");
    EXPECT_EQ(fs::file_size(chemin), 0u);
}

// Bytes made piece by piece, mixed with bytes written at once: the file holds
// them in the order they were given, however the pieces went to disk.
TEST_F(EcritureFichier, ParMorceauxDansLOrdre)
{
    const fs::path chemin = dossier_ / "stats.csv";
    std::string attendu;
    tq::EcrireFichierEntier(chemin, [&attendu](tq::TSortieFichier& sortie) {
        for (int i = 0; i < 300000; ++i) {
            const std::string ligne = std::to_string(i) + ";ligne\r\n";
            sortie.Tampon() += ligne;
            attendu += ligne;
            sortie.Avancer();
            if (i % 100000 == 99999) {
                const std::string bloc(3 << 20, static_cast<char>('a' + i % 26));
                sortie.Ecrire(bloc);
                attendu += bloc;
            }
        }
    });
    EXPECT_TRUE(Lire(chemin) == attendu);
    EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
}

// A producer that fails after several pieces have gone to disk: its failure
// passes on, the file already there is kept, no temporary file is left.
TEST_F(EcritureFichier, ProducteurEnEchec)
{
    const fs::path chemin = dossier_ / "stats.csv";
    Ecrire(chemin, Ancien);
    try {
        tq::EcrireFichierEntier(chemin, [](tq::TSortieFichier& sortie) {
            for (int i = 0; i < 5'000'000; ++i) {
                sortie.Tampon() += "0123456789";
                sortie.Avancer();
            }
            throw tq::Erreur("échec du producteur");
        });
        ADD_FAILURE() << "the producer's failure was lost";
    } catch (const tq::Erreur& e) {
        EXPECT_STREQ(e.what(), "échec du producteur");
    }
    EXPECT_EQ(Lire(chemin), Ancien);
    EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
}

TEST_F(EcritureFichier, LienSymboliqueGarde)
{
    const fs::path reel = dossier_ / "reel.csv";
    const fs::path lien = dossier_ / "lien.csv";
    Ecrire(reel, Ancien);
    fs::create_symlink(reel, lien);
    tq::EcrireFichierEntier(lien, Nouveau);
    EXPECT_TRUE(fs::is_symlink(lien));
    EXPECT_EQ(Lire(reel), Nouveau);
    EXPECT_EQ(Noms(dossier_), (std::set<std::string> { "lien.csv", "reel.csv" }));
}

TEST_F(EcritureFichier, CheminRelatifDevenuComplet)
{
    const fs::path avant = fs::current_path();
    fs::current_path(dossier_);
    const std::string message = MessageEchec("sous/../absent/x.csv", Nouveau);
    tq::EcrireFichierEntier("./relatif.csv", Nouveau);
    fs::current_path(avant);
    EXPECT_EQ(message, Creation(dossier_ / "absent/x.csv", "Le chemin d'accès spécifié est introuvable"));
    EXPECT_EQ(Lire(dossier_ / "relatif.csv"), Nouveau);
}

const std::vector<EcritureFichier::TCasEchec>& EcritureFichier::Cas()
{
    static const std::vector<TCasEchec> cas = {
        { "dossier absent", TBesoin::Rien,
          [](EcritureFichier&, const fs::path& d, fs::path& c) { c = d / "absent" / "stats.csv"; },
          "Le chemin d'accès spécifié est introuvable" },
        { "un fichier au milieu du chemin", TBesoin::Rien,
          [](EcritureFichier&, const fs::path& d, fs::path& c) {
              Ecrire(d / "fichier", Ancien);
              c = d / "fichier" / "stats.csv";
          },
          "Le chemin d'accès spécifié est introuvable" },
        { "dossier a la place du fichier", TBesoin::Rien,
          [](EcritureFichier&, const fs::path& d, fs::path& c) {
              c = d / "stats.csv";
              fs::create_directory(c);
              Ecrire(c / "dedans.txt", Ancien);
          },
          "Accès refusé" },
        { "chemin finissant par une barre", TBesoin::Rien,
          [](EcritureFichier&, const fs::path& d, fs::path& c) { c = d / "absent" / ""; },
          "Le chemin d'accès spécifié est introuvable" },
        { "tube nomme", TBesoin::Rien,
          [](EcritureFichier&, const fs::path& d, fs::path& c) {
              c = d / "tube";
              ASSERT_EQ(mkfifo(c.c_str(), 0666), 0);
          },
          "Accès refusé" },
        { "nom trop long", TBesoin::Rien,
          [](EcritureFichier&, const fs::path& d, fs::path& c) { c = d / std::string(300, 'n'); },
          "Le nom de fichier ou l'extension est trop long" },
        { "chemin trop long", TBesoin::Rien,
          [](EcritureFichier&, const fs::path& d, fs::path& c) {
              c = d;
              for (int i = 0; i < 30; ++i)
                  c /= std::string(200, 'd');
              c /= "stats.csv";
          },
          "Le nom de fichier ou l'extension est trop long" },
        { "fichier immuable", TBesoin::Attributs,
          [](EcritureFichier& f, const fs::path& d, fs::path& c) {
              c = d / "stats.csv";
              Ecrire(c, Ancien);
              ASSERT_TRUE(f.RendreImmuable(c));
          },
          "Accès refusé" },
        { "dossier immuable, fichier existant", TBesoin::Attributs,
          [](EcritureFichier& f, const fs::path& d, fs::path& c) {
              fs::create_directory(d / "verrou");
              c = d / "verrou" / "stats.csv";
              Ecrire(c, Ancien);
              ASSERT_TRUE(f.RendreImmuable(d / "verrou"));
          },
          "Accès refusé" },
        { "dossier immuable, nouveau fichier", TBesoin::Attributs,
          [](EcritureFichier& f, const fs::path& d, fs::path& c) {
              fs::create_directory(d / "verrou");
              c = d / "verrou" / "stats.csv";
              ASSERT_TRUE(f.RendreImmuable(d / "verrou"));
          },
          "Accès refusé" },
        { "support en lecture seule, fichier existant", TBesoin::Montage,
          [](EcritureFichier& f, const fs::path& d, fs::path& c) {
              c = d / "ro" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "ro", "size=64k"));
              Ecrire(c, Ancien);
              ASSERT_TRUE(RemonterEnLectureSeule(d / "ro"));
          },
          "Le support est protégé en écriture" },
        { "support en lecture seule, nouveau fichier", TBesoin::Montage,
          [](EcritureFichier& f, const fs::path& d, fs::path& c) {
              c = d / "ro" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "ro", "size=64k,ro"));
          },
          "Le support est protégé en écriture" },
        { "disque plein, fichier existant", TBesoin::Montage,
          [](EcritureFichier& f, const fs::path& d, fs::path& c) {
              c = d / "petit" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "petit", "size=64k"));
              Ecrire(c, Ancien);
          },
          "" },
        { "disque plein, nouveau fichier", TBesoin::Montage,
          [](EcritureFichier& f, const fs::path& d, fs::path& c) {
              c = d / "petit" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "petit", "size=64k"));
          },
          "" },
    };
    return cas;
}

void EcritureFichier::VerifierEchecs(TBesoin besoin)
{
    if (besoin == TBesoin::Attributs) {
        Ecrire(dossier_ / "essai", "");
        if (!Immuable(dossier_ / "essai", true))
            GTEST_SKIP() << "the temporary folder's file system, or this process, cannot set the immutable attribute";
        Immuable(dossier_ / "essai", false);
        fs::remove(dossier_ / "essai");
    }
    if (besoin == TBesoin::Montage) {
        if (!MonterTmpfs(dossier_ / "essai", "size=4k"))
            GTEST_SKIP() << "this process may not mount a file system (needs root)";
    }
    const std::string grand(1 << 20, 'x');
    for (const TCasEchec& c : Cas()) {
        if (c.besoin != besoin)
            continue;
        SCOPED_TRACE(c.nom);
        const fs::path dossierCas = dossier_ / c.nom;
        fs::create_directory(dossierCas);
        fs::path chemin;
        c.preparer(*this, dossierCas, chemin);
        if (HasFatalFailure())
            return;
        const fs::path dossierCible = chemin.has_filename() ? chemin.parent_path() : chemin;
        const std::set<std::string> avant = Noms(dossierCible);
        std::error_code erreur;
        const bool existait = fs::is_regular_file(chemin, erreur);
        const std::string message = MessageEchec(chemin, c.description.empty() ? grand : Nouveau);
        EXPECT_EQ(message, c.description.empty() ? "Erreur d'écriture dans le flux"
                                                 : Creation(chemin.lexically_normal(), c.description));
        if (existait) {
            EXPECT_EQ(Lire(chemin), Ancien);
        }
        EXPECT_EQ(Noms(dossierCible), avant);
    }
}

TEST_F(EcritureFichier, EchecsSansPrivilege)
{
    VerifierEchecs(TBesoin::Rien);
}
TEST_F(EcritureFichier, EchecsSurAttributImmuable)
{
    VerifierEchecs(TBesoin::Attributs);
}
TEST_F(EcritureFichier, EchecsSurSupportMonte)
{
    VerifierEchecs(TBesoin::Montage);
}

// A file size limit makes the write fail part-way like a full disk does, and
// needs no privilege.
TEST_F(EcritureFichier, LimiteDeTailleAtteinte)
{
    const fs::path chemin = dossier_ / "stats.csv";
    Ecrire(chemin, Ancien);
    rlimit ancienne {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &ancienne), 0);
    const auto gestionnaire = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = ancienne;
    limite.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    const std::string message = MessageEchec(chemin, std::string(65536, 'x'));
    setrlimit(RLIMIT_FSIZE, &ancienne);
    std::signal(SIGXFSZ, gestionnaire);
    EXPECT_EQ(message, "Erreur d'écriture dans le flux");
    EXPECT_EQ(Lire(chemin), Ancien);
    EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
}

} // namespace
