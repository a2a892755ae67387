// Failing disks under the two save operations: every fault gives its message,
// a file already at the path keeps its content, and no temporary file is
// left behind.
#include "results/enregistrement.h"

#include "dossier_temporaire.h"

#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/erreur.h"

namespace {

namespace fs = std::filesystem;

const std::string Ancien = "ancien contenu\r\n";

// An answer whose file takes about 3 MiB: more than the small disks below,
// and several of the pieces in which result lines go to disk, so that a full
// disk shows while lines are still being made.
std::u16string GrandeReponse()
{
    std::u16string reponse = u"{\"resultats\":[";
    for (int i = 0; i < 49152; ++i)
        reponse += u"\"" + std::u16string(60, u'a' + i % 26) + u"\",";
    reponse.back() = u']';
    return reponse + u"}";
}

enum class TOperation { Resultats, Json };

// The message of the failure, or "" when the save went through.
std::string Enregistrer(TOperation operation, std::u16string_view reponse, const fs::path& chemin)
{
    try {
        if (operation == TOperation::Resultats)
            tq::EnregistrerResultats(reponse, chemin);
        else
            tq::EnregistrerJson(reponse, chemin);
    } catch (const tq::Erreur& e) {
        return e.what();
    }
    return "";
}

// Runs the save as an unprivileged account when this process is root, whom
// file permissions do not stop; otherwise runs it here.
std::string EnregistrerSansPrivilege(TOperation operation, std::u16string_view reponse, const fs::path& chemin)
{
    if (geteuid() != 0)
        return Enregistrer(operation, reponse, chemin);
    int tube[2];
    if (pipe(tube) != 0)
        return "pipe() a échoué";
    const pid_t fils = fork();
    if (fils == 0) {
        close(tube[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        const std::string message = Enregistrer(operation, reponse, chemin);
        const ssize_t ecrits = write(tube[1], message.data(), message.size());
        _exit(ecrits == static_cast<ssize_t>(message.size()) ? 0 : 3);
    }
    close(tube[1]);
    std::string message;
    char tampon[512];
    for (ssize_t n; (n = read(tube[0], tampon, sizeof tampon)) > 0;)
        message.append(tampon, static_cast<std::size_t>(n));
    close(tube[0]);
    int etat = 0;
    waitpid(fils, &etat, 0);
    if (!WIFEXITED(etat) || WEXITSTATUS(etat) != 0)
        return "le processus sans privilège a échoué";
    return message;
}

std::string Creation(const fs::path& chemin, const std::string& description)
{
    return "Impossible de créer le fichier \"" + chemin.string() + "\". " + description;
}

class PanneDisque : public DossierTemporaire {
public:
    bool Monter(const fs::path& point, const char* options) { return MonterTmpfs(point, options); }

protected:
    void SetUp() override
    {
        DossierTemporaire::SetUp();
        // The unprivileged account must be able to reach the cases' folders.
        fs::permissions(dossier_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
                                      | fs::perms::others_read | fs::perms::others_exec);
    }

    void TearDown() override
    {
        // Folders made read-only by a case must be writable again to go.
        std::error_code erreur;
        for (auto i = fs::recursive_directory_iterator(dossier_, erreur);
             !erreur && i != fs::recursive_directory_iterator(); i.increment(erreur)) {
            if (i->is_directory(erreur))
                fs::permissions(i->path(), fs::perms::owner_all, fs::perm_options::add, erreur);
        }
        DossierTemporaire::TearDown();
    }

    enum class TBesoin { Rien, Montage };
    enum class TCompte { Courant, SansPrivilege };

    struct TCas {
        const char* nom;
        TBesoin besoin;
        TCompte compte;
        // Prepares the case's folder and names the path to save to.
        std::function<void(PanneDisque&, const fs::path& dossier, fs::path& chemin)> preparer;
        // The cause in the creation message; empty for a failure while writing.
        std::string description;
    };

    void Verifier(const std::vector<TCas>& cas);
};

void PanneDisque::Verifier(const std::vector<TCas>& cas)
{
    const std::u16string reponse = GrandeReponse();
    for (const TCas& c : cas) {
        for (const TOperation operation : { TOperation::Resultats, TOperation::Json }) {
            SCOPED_TRACE(std::string(c.nom) + (operation == TOperation::Resultats ? " / resultats" : " / json"));
            if (c.besoin == TBesoin::Montage && !MonterTmpfs(dossier_ / "essai", "size=4k"))
                GTEST_SKIP() << "this process may not mount a file system (needs root)";
            const fs::path dossierCas =
                dossier_ / (std::string(c.nom) + (operation == TOperation::Resultats ? "-r" : "-j"));
            fs::create_directory(dossierCas);
            fs::path chemin;
            c.preparer(*this, dossierCas, chemin);
            if (HasFatalFailure())
                return;
            const fs::path dossierCible = chemin.has_filename() ? chemin.parent_path() : chemin;
            const std::set<std::string> avant = Noms(dossierCible);
            std::error_code erreur;
            const bool existait = fs::is_regular_file(chemin, erreur);

            const std::string message = c.compte == TCompte::Courant
                                          ? Enregistrer(operation, reponse, chemin)
                                          : EnregistrerSansPrivilege(operation, reponse, chemin);
            EXPECT_EQ(message, c.description.empty() ? "Erreur d'écriture dans le flux"
                                                     : Creation(chemin.lexically_normal(), c.description));
            if (existait) {
                EXPECT_EQ(Lire(chemin), Ancien);
            }
            EXPECT_EQ(Noms(dossierCible), avant);
        }
    }
}

void DossierSansEcriture(const fs::path& dossier)
{
    fs::permissions(dossier, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                                 | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
}

TEST_F(PanneDisque, CheminsRefuses)
{
    Verifier({
        { "dossier absent", TBesoin::Rien, TCompte::Courant,
          [](PanneDisque&, const fs::path& d, fs::path& c) { c = d / "absent" / "stats.csv"; },
          "Le chemin d'accès spécifié est introuvable" },
        { "dossier a la place du fichier", TBesoin::Rien, TCompte::Courant,
          [](PanneDisque&, const fs::path& d, fs::path& c) {
              c = d / "stats.csv";
              fs::create_directory(c);
              Ecrire(c / "dedans.csv", Ancien);
          },
          "Accès refusé" },
        { "nom trop long", TBesoin::Rien, TCompte::Courant,
          [](PanneDisque&, const fs::path& d, fs::path& c) { c = d / (std::string(252, 'n') + ".csv"); },
          "Le nom de fichier ou l'extension est trop long" },
        { "nom de 256 octets accentue", TBesoin::Rien, TCompte::Courant,
          [](PanneDisque&, const fs::path& d, fs::path& c) {
              // 128 two-byte letters: 256 bytes, one more than a name may have.
              std::string nom;
              for (int i = 0; i < 128; ++i)
                  nom += "\xC3\xA9";
              c = d / nom;
          },
          "Le nom de fichier ou l'extension est trop long" },
    });
}

TEST_F(PanneDisque, DroitsRefuses)
{
    Verifier({
        { "dossier sans ecriture, nouveau fichier", TBesoin::Rien, TCompte::SansPrivilege,
          [](PanneDisque&, const fs::path& d, fs::path& c) {
              c = d / "stats.csv";
              DossierSansEcriture(d);
          },
          "Accès refusé" },
        { "fichier sans ecriture", TBesoin::Rien, TCompte::SansPrivilege,
          [](PanneDisque&, const fs::path& d, fs::path& c) {
              c = d / "stats.csv";
              Ecrire(c, Ancien);
              fs::permissions(c, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
              fs::permissions(d, fs::perms::all);
          },
          "Accès refusé" },
        // The file may be written but its folder not: a replacing file cannot
        // be created beside it, and the file stays as it was.
        { "dossier sans ecriture, fichier modifiable", TBesoin::Rien, TCompte::SansPrivilege,
          [](PanneDisque&, const fs::path& d, fs::path& c) {
              c = d / "stats.csv";
              Ecrire(c, Ancien);
              fs::permissions(c, fs::perms::all);
              DossierSansEcriture(d);
          },
          "Accès refusé" },
    });
}

TEST_F(PanneDisque, SupportsEnPanne)
{
    Verifier({
        { "lecture seule, nouveau fichier", TBesoin::Montage, TCompte::Courant,
          [](PanneDisque& f, const fs::path& d, fs::path& c) {
              c = d / "ro" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "ro", "size=64k,ro"));
          },
          "Le support est protégé en écriture" },
        { "lecture seule, fichier existant", TBesoin::Montage, TCompte::Courant,
          [](PanneDisque& f, const fs::path& d, fs::path& c) {
              c = d / "ro" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "ro", "size=64k"));
              Ecrire(c, Ancien);
              ASSERT_TRUE(RemonterEnLectureSeule(d / "ro"));
          },
          "Le support est protégé en écriture" },
        { "disque plein, nouveau fichier", TBesoin::Montage, TCompte::Courant,
          [](PanneDisque& f, const fs::path& d, fs::path& c) {
              c = d / "petit" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "petit", "size=64k"));
          },
          "" },
        { "disque plein, fichier existant", TBesoin::Montage, TCompte::Courant,
          [](PanneDisque& f, const fs::path& d, fs::path& c) {
              c = d / "petit" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "petit", "size=64k"));
              Ecrire(c, Ancien);
          },
          "" },
        { "disque plein, plus aucun inode", TBesoin::Montage, TCompte::Courant,
          [](PanneDisque& f, const fs::path& d, fs::path& c) {
              c = d / "inodes" / "stats.csv";
              ASSERT_TRUE(f.Monter(d / "inodes", "size=1m,nr_inodes=2"));
              Ecrire(c, Ancien);
          },
          "Espace insuffisant sur le disque" },
    });
}

// The full-disk device: a save there is refused before a byte is written, and
// the device is still a device afterwards.
TEST_F(PanneDisque, PeripheriqueDisquePlein)
{
    struct stat avant { };
    if (stat("/dev/full", &avant) != 0 || !S_ISCHR(avant.st_mode))
        GTEST_SKIP() << "this system has no /dev/full";
    for (const TOperation operation : { TOperation::Resultats, TOperation::Json }) {
        SCOPED_TRACE(operation == TOperation::Resultats ? "resultats" : "json");
        EXPECT_EQ(Enregistrer(operation, uR"({"resultats":["a;b"]})", "/dev/full"),
                  Creation("/dev/full", "Accès refusé"));
        struct stat apres { };
        ASSERT_EQ(stat("/dev/full", &apres), 0);
        EXPECT_TRUE(S_ISCHR(apres.st_mode));
        EXPECT_EQ(apres.st_rdev, avant.st_rdev);
    }
}

} // namespace
