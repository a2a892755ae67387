#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QLocale>
#include <QString>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "app/reglages_qlocale.h"
#include "platform/encodage_ansi.h"
#include "query/requete.h"
#include "server/demo.h"
#include "server/lecture_requete.h"
#include "server/serveur_http.h"

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

// The desktops an operator may run: the window's settings come from the
// toolkit's locale, the stand-in server's reading from the same locale name.
struct TLocale {
    const char* nom;
    const char* qlocale;
    const char* environnement;
};
constexpr TLocale Locales[] = {
    { "fr_FR", "fr_FR", "fr_FR.UTF-8" }, { "en_US", "en_US", "en_US.UTF-8" }, { "en_GB", "en_GB", "en_GB.UTF-8" },
    { "de_DE", "de_DE", "de_DE.UTF-8" }, { "ja_JP", "ja_JP", "ja_JP.UTF-8" }, { "C", "C", "C.UTF-8" },
};

// Periods whose day and month read either way, or only one way, and the
// turn of a century for the two-digit years.
struct TPeriodeCas {
    const char* nom;
    year_month_day debut;
    year_month_day fin;
};
constexpr TPeriodeCas Periodes[] = {
    { "jour et mois ambigus", 2026y / December / 1d, 2026y / December / 11d },
    { "un seul sens", 2019y / March / 13d, 2019y / March / 31d },
    { "changement de siecle", 1999y / December / 31d, 2000y / January / 2d },
};

TEST(DatesDesLocales, LeServeurLitLesJoursQueLaFenetreEnvoie)
{
    for (const TLocale& locale : Locales) {
        SCOPED_TRACE(locale.nom);
        const tq::TReglagesRegionaux reglages = tq::ReglagesDepuisQLocale(QLocale(QString::fromLatin1(locale.qlocale)));
        const tq::TFormatDate format = tq::TFormatDate::DeLaLocale(locale.environnement);
        for (const TPeriodeCas& periode : Periodes) {
            SCOPED_TRACE(periode.nom);
            const std::u16string requete =
                tq::ConstruireRequete(tq::TTypeRequete::StatistiquesPeriode, { periode.debut, periode.fin }, reglages);
            const tq::TRequete lue = tq::LireRequete(tq::VersAnsi(requete), format);
            EXPECT_EQ(lue.genre, tq::TGenreRequete::Statistiques);
            EXPECT_EQ(lue.debut, periode.debut);
            EXPECT_EQ(lue.fin, periode.fin);
        }
    }
}

std::string Lire(const fs::path& chemin)
{
    std::ifstream flux(chemin, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(flux), {});
}

class ExportDansChaqueLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        dossier_ = fs::temp_directory_path() / ("tq_locales_" + std::to_string(::getpid()));
        fs::remove_all(dossier_);
        fs::create_directories(dossier_);
    }
    void TearDown() override { fs::remove_all(dossier_); }

    // tq_export run as the operator's scheduled job would run it: the locale
    // from LANG alone, no date format given. Gives its exit code.
    int Exporter(const std::string& lang, const std::string& fichier, int port, const std::string& debut,
                 const std::string& fin, const std::string& formatDate = {})
    {
        std::string commande = "env -u LC_ALL -u LC_TIME -u LC_NUMERIC -u LC_MESSAGES LANG=" + lang + " "
                             + TQ_EXPORT_PROGRAMME + " statistiques '" + (dossier_ / fichier).string() + "' --debut "
                             + debut + " --fin " + fin + " --serveur 127.0.0.1:" + std::to_string(port);
        if (!formatDate.empty())
            commande += " --format-date " + formatDate;
        commande += " 2>'" + (dossier_ / "erreurs").string() + "'";
        const int statut = std::system(commande.c_str());
        return WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    }

    fs::path dossier_;
};

// Against the demo data, each locale's file holds the figures of the period
// asked for: the same bytes as the period sent year first, and not those of
// the period with day and month swapped.
TEST_F(ExportDansChaqueLocale, StatistiquesDeLaPeriodeDemandee)
{
    const std::string base = (dossier_ / "demo.sqlite").string();
    tq::CreerBaseDemo(base, 2019y / December / 31d);
    for (const TLocale& locale : Locales) {
        SCOPED_TRACE(locale.nom);
        tq::TConfigurationServeur configuration;
        configuration.base = base;
        configuration.formatDate = tq::TFormatDate::DeLaLocale(locale.environnement);
        tq::TServeurStatistiques serveur(configuration);
        const int port = serveur.Lier("127.0.0.1", 0);
        std::thread fil([&serveur] { serveur.Ecouter(); });

        const int code = Exporter(locale.environnement, "locale.csv", port, "2019-03-01", "2019-03-12");
        const int codeReference =
            Exporter(locale.environnement, "reference.csv", port, "2019-03-01", "2019-03-12", "yyyy-MM-dd");
        const int codeInverse =
            Exporter(locale.environnement, "inverse.csv", port, "2019-01-03", "2019-12-03", "yyyy-MM-dd");
        serveur.Arreter();
        fil.join();

        EXPECT_EQ(code, 0) << Lire(dossier_ / "erreurs");
        ASSERT_EQ(codeReference, 0);
        ASSERT_EQ(codeInverse, 0);
        const std::string reference = Lire(dossier_ / "reference.csv");
        EXPECT_EQ(Lire(dossier_ / "locale.csv"), reference);
        EXPECT_NE(Lire(dossier_ / "inverse.csv"), reference);
    }
}

} // namespace
