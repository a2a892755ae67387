// The program itself, run as a child process: options, start-up failures,
// serving a demo base and stopping on SIGTERM.

#include "outils_test.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The program with its standard output and error on one pipe.
class TProgramme {
public:
    explicit TProgramme(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), TQ_PROGRAMME_SERVEUR);
        std::vector<char*> argv;
        for (std::string& a : arguments)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        int tube[2];
        if (pipe(tube) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, tube[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, tube[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, tube[0]);
        const int erreur = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(tube[1]);
        sortie_ = tube[0];
        if (erreur != 0)
            throw std::runtime_error("posix_spawn");
    }

    ~TProgramme()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(sortie_);
    }

    // Reads the output up to and including the next line feed ("" at the end).
    std::string Ligne()
    {
        std::string ligne;
        char c;
        while (read(sortie_, &c, 1) == 1) {
            ligne.push_back(c);
            if (c == '\n')
                break;
        }
        return ligne;
    }

    std::string Reste()
    {
        std::string texte;
        for (std::string ligne = Ligne(); !ligne.empty(); ligne = Ligne())
            texte += ligne;
        return texte;
    }

    void Signaler(int signal) { kill(pid_, signal); }

    // The exit code, or -1 when the program did not exit normally.
    int Attendre()
    {
        int statut = 0;
        waitpid(pid_, &statut, 0);
        pid_ = -1;
        return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    }

private:
    pid_t pid_ = -1;
    int sortie_ = -1;
};

} // namespace

TEST(Programme, AideEtOptionsRefusees)
{
    struct Cas {
        const char* nom;
        std::vector<std::string> arguments;
        int code;
        std::string debutSortie;
    };
    const Cas cas[] = {
        { "aide", { "--aide" }, 0, "Usage : tq_serveur_statistiques [options]\n" },
        { "aide en anglais", { "--help" }, 0, "Usage : tq_serveur_statistiques [options]\n" },
        { "version", { "--version" }, 0, "tq_serveur_statistiques " TQ_VERSION "\n" },
        { "option inconnue",
          { "--verbeux" },
          2,
          "Option inconnue : « --verbeux ».\nVoir : tq_serveur_statistiques --aide\n" },
        { "port incorrect",
          { "--port", "http" },
          2,
          "Option --port : « http » n'est pas un numéro de port (0 à 65535).\n" },
        { "base absente",
          { "--base", "/inexistant/base.sqlite" },
          1,
          "Impossible d'ouvrir la base « /inexistant/base.sqlite » : fichier introuvable ou illisible.\n" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        TProgramme programme(c.arguments);
        const std::string sortie = programme.Reste();
        EXPECT_EQ(programme.Attendre(), c.code);
        EXPECT_EQ(sortie.substr(0, c.debutSortie.size()), c.debutSortie) << sortie;
    }
}

TEST(Programme, ServitLaDemoPuisSArreteSurSigterm)
{
    tq::test::TDossierTemporaire dossier;
    const std::string base = dossier.Chemin("demo.sqlite");
    TProgramme programme({ "--demo", "--base", base, "--port", "0", "--format-date", "yyyy-MM-dd" });

    const std::string creation = programme.Ligne();
    EXPECT_EQ(creation.rfind("Base de démonstration créée : " + base + " (", 0), 0u) << creation;
    const std::string ecoute = programme.Ligne();
    const std::string debut = "Serveur de statistiques à l'écoute sur http://127.0.0.1:";
    ASSERT_EQ(ecoute.rfind(debut, 0), 0u) << ecoute;
    const int port = std::stoi(ecoute.substr(debut.size()));
    EXPECT_EQ(ecoute.substr(ecoute.find('/', debut.size())), "/ (base : " + base + ", dates : yyyy-MM-dd).\n");

    httplib::Client client("127.0.0.1", port);
    const httplib::Result centres = client.Post("/", tq::test::TexteRequete(4, 1), "application/json");
    ASSERT_TRUE(centres);
    EXPECT_EQ(centres->status, 200);
    const httplib::Result statistiques =
        client.Post("/", tq::test::TexteRequete(100, 1, "2019-03-01", "2019-03-31"), "application/json");
    ASSERT_TRUE(statistiques);
    EXPECT_EQ(statistiques->status, 200);

    programme.Signaler(SIGTERM);
    EXPECT_EQ(programme.Reste(), "Serveur arrêté.\n");
    EXPECT_EQ(programme.Attendre(), 0);
}
