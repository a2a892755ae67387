#include "server/format_date.h"

#include "platform/texte_utf.h"
#include "server/erreurs_serveur.h"
#include "server/options.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace std::chrono;

TEST(FormatDate, LectureEtEcriture)
{
    struct Cas {
        const char* nom;
        std::u16string_view motif;
        std::u16string_view texte;
        year_month_day jour;
        std::u16string_view ecrit; // the same day written back with the pattern
    };
    const Cas cas[] = {
        { "francais", u"dd/MM/yyyy", u"01/03/2019", 2019y / March / 1d, u"01/03/2019" },
        { "francais sans zeros lu", u"dd/MM/yyyy", u"1/3/2019", 2019y / March / 1d, u"01/03/2019" },
        { "sans zeros", u"d/M/yyyy", u"1/3/2019", 2019y / March / 1d, u"1/3/2019" },
        { "sans zeros avec zeros lu", u"d/M/yyyy", u"01/03/2019", 2019y / March / 1d, u"1/3/2019" },
        { "iso", u"yyyy-MM-dd", u"2019-03-31", 2019y / March / 31d, u"2019-03-31" },
        { "americain", u"M/d/yy", u"3/1/19", 2019y / March / 1d, u"3/1/19" },
        { "annee courte 49", u"dd.MM.yy", u"31.12.49", 2049y / December / 31d, u"31.12.49" },
        { "annee courte 50", u"dd.MM.yy", u"01.01.50", 1950y / January / 1d, u"01.01.50" },
        { "jour zero du client", u"dd/MM/yyyy", u"30/12/1899", 1899y / December / 30d, u"30/12/1899" },
        { "29 fevrier bissextile", u"dd/MM/yyyy", u"29/02/2020", 2020y / February / 29d, u"29/02/2020" },
        { "sans separateur", u"yyyyMMdd", u"20190301", 2019y / March / 1d, u"20190301" },
        { "separateur non ascii", u"dd·MM·yyyy", u"01·03·2019", 2019y / March / 1d, u"01·03·2019" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const tq::TFormatDate format(c.motif);
        EXPECT_EQ(format.Lire(c.texte), c.jour);
        EXPECT_EQ(format.Ecrire(c.jour), c.ecrit);
    }
}

TEST(FormatDate, TextesIllisibles)
{
    struct Cas {
        const char* nom;
        std::u16string_view texte;
        const char* message;
    };
    const Cas cas[] = {
        { "vide", u"", "Date illisible : «  » (format attendu : dd/MM/yyyy)." },
        { "autre separateur", u"01-03-2019", "Date illisible : « 01-03-2019 » (format attendu : dd/MM/yyyy)." },
        { "ordre iso", u"2019/03/01", "Date illisible : « 2019/03/01 » (format attendu : dd/MM/yyyy)." },
        { "annee courte", u"01/03/19", "Date illisible : « 01/03/19 » (format attendu : dd/MM/yyyy)." },
        { "31 avril", u"31/04/2019", "Date illisible : « 31/04/2019 » (format attendu : dd/MM/yyyy)." },
        { "29 fevrier", u"29/02/2019", "Date illisible : « 29/02/2019 » (format attendu : dd/MM/yyyy)." },
        { "mois 13", u"01/13/2019", "Date illisible : « 01/13/2019 » (format attendu : dd/MM/yyyy)." },
        { "jour 0", u"00/03/2019", "Date illisible : « 00/03/2019 » (format attendu : dd/MM/yyyy)." },
        { "annee 0", u"01/03/0000", "Date illisible : « 01/03/0000 » (format attendu : dd/MM/yyyy)." },
        { "suite", u"01/03/2019 00:00", "Date illisible : « 01/03/2019 00:00 » (format attendu : dd/MM/yyyy)." },
        { "accent", u"01/03/2019é", "Date illisible : « 01/03/2019é » (format attendu : dd/MM/yyyy)." },
        { "controle", u"01/03\n2019", "Date illisible : « 01/03?2019 » (format attendu : dd/MM/yyyy)." },
        { "trop long", u"0123456789012345678901234567890123456789X",
          "Date illisible : « 0123456789012345678901234567890123456789… » (format attendu : dd/MM/yyyy)." },
    };
    const tq::TFormatDate format(u"dd/MM/yyyy");
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        try {
            format.Lire(c.texte);
            ADD_FAILURE() << "lu";
        } catch (const tq::ErreurRequete& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(FormatDate, MotifsRefuses)
{
    struct Cas {
        const char* nom;
        std::u16string_view motif;
        const char* raison;
    };
    const Cas cas[] = {
        { "vide", u"", "le jour, le mois et l'année doivent tous y figurer" },
        { "sans annee", u"dd/MM", "le jour, le mois et l'année doivent tous y figurer" },
        { "minutes", u"dd/mm/yyyy", "seules les lettres d, M et y sont permises" },
        { "francais", u"jj/mm/aaaa", "seules les lettres d, M et y sont permises" },
        { "mois en lettres", u"dd MMM yyyy", "d et M s'écrivent d, dd, M ou MM ; l'année yy ou yyyy" },
        { "annee sur trois", u"dd/MM/yyy", "d et M s'écrivent d, dd, M ou MM ; l'année yy ou yyyy" },
        { "jour en double", u"dd/MM/yyyy dd", "un champ y figure deux fois" },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        try {
            tq::TFormatDate format(c.motif);
            ADD_FAILURE() << "accepté";
        } catch (const tq::Erreur& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Format de date incorrect : « " + tq::VersUtf8(c.motif) + " » (" + c.raison + ").");
        }
    }
}

// Without a forced pattern: the dates of every locale's short format, day and
// month settled by their values first and by the server's locale only when
// both orders give a day.
TEST(FormatDate, FormesDesLocales)
{
    struct Cas {
        const char* nom;
        const char* locale;
        std::u16string_view texte;
        year_month_day jour;
    };
    const Cas cas[] = {
        { "americain ambigu", "en_US.UTF-8", u"12/1/26", 2026y / December / 1d },
        { "britannique ambigu", "en_GB.UTF-8", u"12/01/2026", 2026y / January / 12d },
        { "allemand", "de_DE.UTF-8", u"01.12.26", 2026y / December / 1d },
        { "francais", "fr_FR.UTF-8", u"01/03/2019", 2019y / March / 1d },
        { "locale C, jour d'abord", "C.UTF-8", u"1 12 2026", 2026y / December / 1d },
        { "locale absente", "", u"1/2/2026", 2026y / February / 1d },
        { "japonais annee d'abord", "ja_JP.UTF-8", u"2026/12/01", 2026y / December / 1d },
        { "annee d'abord ailleurs", "en_US.UTF-8", u"2026-1-2", 2026y / January / 2d },
        { "un seul ordre possible", "en_US.UTF-8", u"13/1/26", 2026y / January / 13d },
        { "un seul ordre possible inverse", "de_DE.UTF-8", u"1.13.26", 2026y / January / 13d },
        { "jour egal au mois", "en_US.UTF-8", u"5/5/26", 2026y / May / 5d },
        { "annee courte 49 et 50", "en_US.UTF-8", u"12/31/49", 2049y / December / 31d },
        { "annee 1950", "de_DE.UTF-8", u"1.1.50", 1950y / January / 1d },
        { "jour zero du client", "fr_FR.UTF-8", u"30/12/1899", 1899y / December / 30d },
        { "espace insecable", "fr_FR.UTF-8", u"01\u00A003\u00A02019", 2019y / March / 1d },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::TFormatDate::DeLaLocale(c.locale).Lire(c.texte), c.jour);
        EXPECT_EQ(tq::TFormatDate::DeLaLocale(c.locale).Ecrire(c.jour), tq::TFormatDate(u"dd/MM/yyyy").Ecrire(c.jour));
    }
}

TEST(FormatDate, PeriodeLueDansUnSeulOrdre)
{
    struct Cas {
        const char* nom;
        const char* locale; // of the server
        std::u16string_view debut, fin;
        year_month_day premier, dernier;
    };
    const Cas cas[] = {
        { "americaine sur un serveur jour d'abord", "C.UTF-8", u"11/1/26", u"11/30/26", 2026y / November / 1d,
          2026y / November / 30d },
        { "allemande sur un serveur mois d'abord", "en_US.UTF-8", u"1.11.26", u"30.11.26", 2026y / November / 1d,
          2026y / November / 30d },
        { "les deux ambigues : l'ordre du serveur", "en_US.UTF-8", u"1/2/26", u"3/4/26", 2026y / January / 2d,
          2026y / March / 4d },
        { "aucun ordre commun : chacune le sien", "C.UTF-8", u"13/1/26", u"1/13/26", 2026y / January / 13d,
          2026y / January / 13d },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto [premier, dernier] = tq::TFormatDate::DeLaLocale(c.locale).LirePeriode(c.debut, c.fin);
        EXPECT_EQ(premier, c.premier);
        EXPECT_EQ(dernier, c.dernier);
    }
    // A forced pattern reads each date with it alone.
    const auto [premier, dernier] = tq::TFormatDate(u"dd/MM/yyyy").LirePeriode(u"01/11/2026", u"30/11/2026");
    EXPECT_EQ(premier, 2026y / November / 1d);
    EXPECT_EQ(dernier, 2026y / November / 30d);
}

TEST(FormatDate, FormesDesLocalesIllisibles)
{
    const std::u16string_view textes[] = {
        u"",         u"12/1",    u"12/1/26/1", u"12/1.26",    u"12a1a26",    u"2026/13/01",  u"2026/2/30",
        u"31/31/26", u"1/2/026", u"1/2/20266", u"123/1/2026", u"1/123/2026", u"2026/01/001", u"0/1/26",
        u" 1/2/26",  u"1/2/26 ", u"1/2/0000",
    };
    const tq::TFormatDate format = tq::TFormatDate::DeLaLocale("fr_FR.UTF-8");
    for (const std::u16string_view texte : textes) {
        SCOPED_TRACE(tq::VersUtf8(texte));
        try {
            format.Lire(texte);
            ADD_FAILURE() << "lu";
        } catch (const tq::ErreurRequete& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Date illisible : « " + tq::VersUtf8(texte)
                          + " » (attendu : jour, mois et année en chiffres, ou l'année sur quatre chiffres d'abord).");
        }
    }
}

// The server's options without --format-date read as the locale of the
// environment tells; --format-date still forces its one pattern.
TEST(FormatDate, OptionsSansFormatImpose)
{
    struct Cas {
        const char* lcAll;
        year_month_day jour;
    };
    const Cas cas[] = { { "en_US.UTF-8", 2026y / December / 1d }, { "en_GB.UTF-8", 2026y / January / 12d } };
    const char* avant = std::getenv("LC_ALL");
    const std::string sauve = avant != nullptr ? avant : "";
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.lcAll);
        ::setenv("LC_ALL", c.lcAll, 1);
        EXPECT_EQ(tq::LireOptions({}).formatDate.Lire(u"12/1/26"), c.jour);
        EXPECT_THROW(tq::LireOptions({ "--format-date", "M/d/yy" }).formatDate.Lire(u"2026-12-01"), tq::ErreurRequete);
    }
    if (avant != nullptr)
        ::setenv("LC_ALL", sauve.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}
