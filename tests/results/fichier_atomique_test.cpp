#include "results/fichier_atomique.h"

#include "dossier_temporaire.h"
#include "processus_sans_fichiers_anonymes.h"

#include <csignal>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "results/arret_par_signal.h"
#include "results/erreurs_resultats.h"

namespace {

namespace fs = std::filesystem;

const std::string Ancien = "ancien contenu\r\n";
const std::string Nouveau = "a;b\r\nc;d\r\n";

void Enregistrer(const fs::path& chemin, std::string_view octets)
{
    tq::TFichierAtomique fichier(chemin);
    fichier.Ajouter(octets);
    fichier.Valider();
}

std::string MessageEchec(const fs::path& chemin, const std::string& octets)
{
    try {
        Enregistrer(chemin, octets);
    } catch (const tq::Erreur& e) {
        return e.what();
    }
    return "";
}

std::string Creation(const fs::path& chemin, const std::string& description)
{
    return "Impossible de créer le fichier \"" + chemin.string() + "\". " + description;
}

enum class TAttribut { Pose, Retire };

// Sets or clears the immutable attribute; false where the file system has none.
bool Immuable(const fs::path& chemin, TAttribut attribut)
{
    const int d = open(chemin.c_str(), O_RDONLY | O_CLOEXEC);
    if (d < 0)
        return false;
    int attributs = 0;
    bool bon = ioctl(d, FS_IOC_GETFLAGS, &attributs) == 0;
    if (bon) {
        attributs = attribut == TAttribut::Pose ? (attributs | FS_IMMUTABLE_FL) : (attributs & ~FS_IMMUTABLE_FL);
        bon = ioctl(d, FS_IOC_SETFLAGS, &attributs) == 0;
    }
    close(d);
    return bon;
}

// How the temporary file is made: unnamed, or named where the kernel refuses
// unnamed files with the error `refus`, as a file system without them does.
struct TCreation {
    const char* nom;
    int refus; // 0 for the kernel as it is
};

void PrintTo(const TCreation& creation, std::ostream* sortie)
{
    *sortie << creation.nom;
}

class EcritureFichier : public DossierTemporaire, public ::testing::WithParamInterface<TCreation> {
public:
    bool RendreImmuable(const fs::path& chemin)
    {
        if (!Immuable(chemin, TAttribut::Pose))
            return false;
        immuables_.push_back(chemin);
        return true;
    }

    bool Monter(const fs::path& point, const char* options) { return MonterTmpfs(point, options); }

protected:
    void TearDown() override
    {
        for (const fs::path& p : immuables_)
            Immuable(p, TAttribut::Retire);
        DossierTemporaire::TearDown();
    }

    // Runs the case here, or in a child process whose unnamed files are
    // refused, which cleans up its mounts and attributes before it ends.
    void Executer(const std::function<void()>& cas)
    {
        if (GetParam().refus == 0) {
            cas();
            return;
        }
        switch (DansUnFilsSansFichiersAnonymes(GetParam().refus, [&] {
            cas();
            TearDown();
        })) {
        case TFinFils::Reussi:
            return;
        case TFinFils::Saute:
            GTEST_SKIP() << "skipped in the child process, reason above";
        case TFinFils::Indisponible:
            GTEST_SKIP() << "this process may not filter its system calls";
        case TFinFils::Echoue:
            ADD_FAILURE() << "the case failed with unnamed files refused (failures above)";
        }
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

TEST_P(EcritureFichier, NouveauFichier)
{
    Executer([&] {
        const fs::path chemin = dossier_ / "stats.csv";
        Enregistrer(chemin, Nouveau);
        EXPECT_EQ(Lire(chemin), Nouveau);
        EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
        const mode_t masque = umask(0);
        umask(masque);
        struct stat etat { };
        ASSERT_EQ(stat(chemin.c_str(), &etat), 0);
        EXPECT_EQ(etat.st_mode & 0777, 0666 & ~masque);
    });
}

TEST_P(EcritureFichier, RemplaceEnGardantLesDroits)
{
    Executer([&] {
        const fs::path chemin = dossier_ / "stats.csv";
        Ecrire(chemin, Ancien + Ancien);
        ASSERT_EQ(chmod(chemin.c_str(), 0640), 0);
        const bool administrateur = geteuid() == 0;
        if (administrateur) {
            ASSERT_EQ(chown(chemin.c_str(), 65534, 65534), 0);
        }
        Enregistrer(chemin, Nouveau);
        EXPECT_EQ(Lire(chemin), Nouveau);
        struct stat etat { };
        ASSERT_EQ(stat(chemin.c_str(), &etat), 0);
        EXPECT_EQ(etat.st_mode & 07777, 0640u);
        if (administrateur) {
            EXPECT_EQ(etat.st_uid, 65534u);
            EXPECT_EQ(etat.st_gid, 65534u);
        }
        EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });

        Enregistrer(chemin, "");
        EXPECT_EQ(fs::file_size(chemin), 0u);
    });
}

// Bytes appended in pieces of every size: the file holds them in the order
// they were given. While they are written, the temporary file shows in the
// folder only where unnamed files are refused.
TEST_P(EcritureFichier, ParMorceauxDansLOrdre)
{
    Executer([&] {
        const fs::path chemin = dossier_ / "stats.csv";
        Ecrire(chemin, Ancien);
        std::string attendu;
        tq::TFichierAtomique fichier(chemin);
        for (int i = 0; i < 3000; ++i) {
            const std::string piece(static_cast<std::size_t>(i * 37 % 5000), static_cast<char>('a' + i % 26));
            fichier.Ajouter(piece);
            attendu += piece;
            if (i % 1000 == 999) {
                const std::string bloc(3 << 20, static_cast<char>('0' + i % 10));
                fichier.Ajouter(bloc);
                attendu += bloc;
            }
        }
        EXPECT_EQ(Noms(dossier_).size(), GetParam().refus == 0 ? 1u : 2u);
        EXPECT_EQ(Lire(chemin), Ancien);
        fichier.Valider();
        EXPECT_TRUE(Lire(chemin) == attendu);
        EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
    });
}

// A file abandoned after several megabytes, as when the bytes' maker fails:
// the file already there is kept, no temporary file is left.
TEST_P(EcritureFichier, AbandonneSansValider)
{
    Executer([&] {
        const fs::path chemin = dossier_ / "stats.csv";
        Ecrire(chemin, Ancien);
        {
            tq::TFichierAtomique fichier(chemin);
            const std::string piece(1 << 20, 'x');
            for (int i = 0; i < 16; ++i)
                fichier.Ajouter(piece);
        }
        EXPECT_EQ(Lire(chemin), Ancien);
        EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
    });
}

// A link at the path stays a link, and the file it names gets the bytes, also
// when that file does not exist yet (through a chain of links, relative ones
// read from their own folder).
TEST_P(EcritureFichier, LienSymboliqueGarde)
{
    struct TCas {
        const char* nom;
        const char* reel; // the file the links name, relative to the folder
        bool existe;
        std::vector<std::pair<const char*, const char*>> liens; // name, what it names; the first is the path
    };
    const TCas cas[] = {
        { "fichier existant", "reel.csv", true, { { "lien.csv", "reel.csv" } } },
        { "fichier encore absent", "reel.csv", false, { { "lien.csv", "reel.csv" } } },
        { "chaine de liens relatifs vers un absent",
          "sous/reel.csv",
          false,
          { { "lien.csv", "sous/relais.csv" }, { "sous/relais.csv", "reel.csv" } } },
    };
    Executer([&] {
        for (const TCas& c : cas) {
            SCOPED_TRACE(c.nom);
            const fs::path dossier = dossier_ / c.nom;
            fs::create_directories(dossier / "sous");
            if (c.existe)
                Ecrire(dossier / c.reel, Ancien);
            for (const auto& [nom, vers] : c.liens)
                fs::create_symlink(vers, dossier / nom);
            const fs::path lien = dossier / c.liens.front().first;
            Enregistrer(lien, Nouveau);
            EXPECT_TRUE(fs::is_symlink(lien));
            EXPECT_EQ(Lire(dossier / c.reel), Nouveau);
            std::set<std::string> attendus { "sous", c.reel };
            for (const auto& lienCas : c.liens)
                attendus.insert(lienCas.first);
            std::set<std::string> presents;
            for (const auto& entree : fs::recursive_directory_iterator(dossier))
                presents.insert(entree.path().lexically_relative(dossier).string());
            EXPECT_EQ(presents, attendus);
        }
    });
}

TEST_P(EcritureFichier, CheminRelatifDevenuComplet)
{
    Executer([&] {
        const fs::path avant = fs::current_path();
        fs::current_path(dossier_);
        const std::string message = MessageEchec("sous/../absent/x.csv", Nouveau);
        Enregistrer("./relatif.csv", Nouveau);
        fs::current_path(avant);
        EXPECT_EQ(message, Creation(dossier_ / "absent/x.csv", "Le chemin d'accès spécifié est introuvable"));
        EXPECT_EQ(Lire(dossier_ / "relatif.csv"), Nouveau);
    });
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
        if (!Immuable(dossier_ / "essai", TAttribut::Pose))
            GTEST_SKIP() << "the temporary folder's file system, or this process, cannot set the immutable attribute";
        Immuable(dossier_ / "essai", TAttribut::Retire);
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

TEST_P(EcritureFichier, EchecsSansPrivilege)
{
    Executer([&] { VerifierEchecs(TBesoin::Rien); });
}
TEST_P(EcritureFichier, EchecsSurAttributImmuable)
{
    Executer([&] { VerifierEchecs(TBesoin::Attributs); });
}
TEST_P(EcritureFichier, EchecsSurSupportMonte)
{
    Executer([&] { VerifierEchecs(TBesoin::Montage); });
}

// A file size limit makes the write fail part-way like a full disk does, and
// needs no privilege.
TEST_P(EcritureFichier, LimiteDeTailleAtteinte)
{
    Executer([&] {
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
    });
}

// The calls that rename a file, whichever the C library uses.
std::vector<long> AppelsRenommage()
{
    std::vector<long> appels { SYS_renameat2 };
#ifdef SYS_rename
    appels.push_back(SYS_rename);
#endif
#ifdef SYS_renameat
    appels.push_back(SYS_renameat);
#endif
    return appels;
}

// The last steps of a save failing, as on a failing disk or network share:
// the save fails with its message, the file at the path keeps its bytes (or
// stays absent), and no temporary file is left.
TEST_P(EcritureFichier, EchecsALaValidation)
{
    const bool anonyme = GetParam().refus == 0;
    const std::string entreeSortie = "La demande n'a pas abouti en raison d'une erreur de périphérique d'E/S";
    struct TCas {
        const char* nom;
        std::vector<long> appels;
        bool concerne;           // false where this way of creating never fails there
        std::string description; // empty for a failure while writing
    };
    const TCas cas[] = {
        { "mise sur le disque", { SYS_fsync, SYS_fdatasync }, true, "" },
        { "renommage", AppelsRenommage(), true, entreeSortie },
        { "nommage du fichier anonyme", { SYS_linkat }, anonyme, entreeSortie },
        // The unnamed file is closed after the rename, once its bytes are on
        // the disk: nothing is left to fail there.
        { "fermeture du fichier nomme", { SYS_close }, !anonyme, "" },
    };
    const fs::path chemin = dossier_ / "stats.csv";
    for (const bool existe : { true, false }) {
        for (const TCas& c : cas) {
            if (!c.concerne)
                continue;
            SCOPED_TRACE(std::string(c.nom) + (existe ? ", fichier existant" : ", nouveau fichier"));
            fs::remove(chemin);
            if (existe)
                Ecrire(chemin, Ancien);
            const TFinFils fin = DansUnFilsSansFichiersAnonymes(GetParam().refus, [&] {
                if (!RefuserAppels(c.appels, EIO))
                    GTEST_SKIP() << "this process may not filter its system calls";
                EXPECT_EQ(MessageEchec(chemin, Nouveau),
                          c.description.empty() ? "Erreur d'écriture dans le flux" : Creation(chemin, c.description));
            });
            if (fin == TFinFils::Indisponible || fin == TFinFils::Saute)
                GTEST_SKIP() << "this process may not filter its system calls";
            EXPECT_EQ(fin, TFinFils::Reussi);
            EXPECT_EQ(Noms(dossier_), existe ? std::set<std::string> { "stats.csv" } : std::set<std::string> {});
            if (existe) {
                EXPECT_EQ(Lire(chemin), Ancien);
            }
        }
    }
}

// The system's words for each cause of a failed creation, as the kernel gives
// them while opening the temporary file; the C library's text for any other.
using EchecCreation = DossierTemporaire;

TEST_F(EchecCreation, CausesEnFrancais)
{
    struct TCas {
        int erreur;
        const char* description;
    };
    const TCas cas[] = {
        { EPERM, "Accès refusé" },
        { ENOSPC, "Espace insuffisant sur le disque" },
        { EDQUOT, "Espace insuffisant sur le disque" },
        { EINVAL, "La syntaxe du nom de fichier, de répertoire ou de volume est incorrecte" },
        { EBUSY, "Le processus ne peut pas accéder au fichier car ce fichier est utilisé par un autre processus" },
        { ETXTBSY, "Le processus ne peut pas accéder au fichier car ce fichier est utilisé par un autre processus" },
        { EMFILE, "Le système ne peut pas ouvrir le fichier" },
        { ENFILE, "Le système ne peut pas ouvrir le fichier" },
        { EIO, "La demande n'a pas abouti en raison d'une erreur de périphérique d'E/S" },
        { ENXIO, "No such device or address" },
    };
    const fs::path chemin = dossier_ / "stats.csv";
    for (const TCas& c : cas) {
        SCOPED_TRACE(strerror(c.erreur));
        const TFinFils fin = DansUnFilsSansFichiersAnonymes(0, [&] {
            if (!RefuserAppels({ SYS_openat }, c.erreur))
                GTEST_SKIP() << "this process may not filter its system calls";
            EXPECT_EQ(MessageEchec(chemin, Nouveau), Creation(chemin, c.description));
        });
        if (fin == TFinFils::Saute)
            GTEST_SKIP() << "this process may not filter its system calls";
        EXPECT_EQ(fin, TFinFils::Reussi);
        EXPECT_EQ(Noms(dossier_), std::set<std::string> {});
    }
}

const TCreation Creations[] = {
    { "anonyme", 0 },
    { "nomme", EOPNOTSUPP },
};
INSTANTIATE_TEST_SUITE_P(Creations, EcritureFichier, ::testing::ValuesIn(Creations),
                         [](const ::testing::TestParamInfo<TCreation>& info) { return info.param.nom; });

using RefusFichiersAnonymes = DossierTemporaire;

// However the kernel refuses unnamed files, the save goes through with a
// named temporary file.
TEST_F(RefusFichiersAnonymes, ChaqueRefusMeneAuFichierNomme)
{
    struct TCas {
        const char* nom;
        int refus;
    };
    const TCas cas[] = {
        { "pas pris en charge", EOPNOTSUPP },
        { "noyau ancien", EISDIR },
        { "drapeaux refuses", EINVAL },
        { "acces refuse", EACCES },
    };
    const fs::path chemin = dossier_ / "stats.csv";
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        Ecrire(chemin, Ancien);
        const TFinFils fin = DansUnFilsSansFichiersAnonymes(c.refus, [&] { Enregistrer(chemin, Nouveau); });
        if (fin == TFinFils::Indisponible)
            GTEST_SKIP() << "this process may not filter its system calls";
        EXPECT_EQ(fin, TFinFils::Reussi);
        EXPECT_EQ(Lire(chemin), Nouveau);
        EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
    }
}

using ProcessusTue = DossierTemporaire;

// A process killed in the middle of a large write, as a scheduled export
// stopped by its time limit, leaves the folder as it was: the same names, the
// old file's bytes. An unnamed temporary file needs nothing for it; a named
// one (where unnamed files are refused) is removed by the termination
// signals, which then end the process as they would have.
TEST_F(ProcessusTue, DossierInchange)
{
    struct TCas {
        int refus; // 0: unnamed files allowed
        int signal;
    };
    const TCas cas[] = {
        { 0, SIGKILL }, { 0, SIGTERM }, { EOPNOTSUPP, SIGTERM }, { EOPNOTSUPP, SIGINT }, { EOPNOTSUPP, SIGHUP },
    };
    const int essai = open(dossier_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    const bool anonymesPossibles = essai >= 0;
    if (anonymesPossibles)
        close(essai);
    const fs::path chemin = dossier_ / "stats.csv";
    for (const TCas& c : cas) {
        if (c.refus == 0 && !anonymesPossibles)
            continue; // the temporary folder's file system has no unnamed files
        SCOPED_TRACE(std::string(c.refus == 0 ? "anonyme, " : "nomme, ") + strsignal(c.signal));
        Ecrire(chemin, Ancien);
        int tube[2];
        ASSERT_EQ(pipe(tube), 0);
        const pid_t fils = fork();
        if (fils == 0) {
            close(tube[0]);
            if (c.refus != 0 && !RefuserFichiersAnonymes(c.refus))
                _exit(4);
            // A test run in the background may have inherited them ignored.
            for (const int signal : { SIGTERM, SIGINT, SIGHUP })
                std::signal(signal, SIG_DFL);
            tq::SupprimerTemporaireAuxSignauxDArret();
            try {
                tq::TFichierAtomique fichier(chemin);
                const std::string piece(1 << 20, 'x');
                for (int i = 0; i < 64; ++i) {
                    fichier.Ajouter(piece);
                    if (i == 7 && write(tube[1], "", 1) != 1)
                        _exit(2);
                }
                pause();
            } catch (...) {
            }
            _exit(3);
        }
        close(tube[1]);
        char lu = 0;
        const ssize_t n = read(tube[0], &lu, 1);
        close(tube[0]);
        const std::size_t nomsPendant = Noms(dossier_).size();
        kill(fils, c.signal);
        int etat = 0;
        ASSERT_EQ(waitpid(fils, &etat, 0), fils);
        if (WIFEXITED(etat) && WEXITSTATUS(etat) == 4)
            GTEST_SKIP() << "this process may not filter its system calls";
        ASSERT_EQ(n, 1) << "the child ended before writing";
        EXPECT_EQ(nomsPendant, c.refus == 0 ? 1u : 2u);
        EXPECT_TRUE(WIFSIGNALED(etat) && WTERMSIG(etat) == c.signal);
        EXPECT_EQ(Noms(dossier_), std::set<std::string> { "stats.csv" });
        EXPECT_EQ(Lire(chemin), Ancien);
    }
}

} // namespace
