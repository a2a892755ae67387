#include "query/requete.h"

#include <gtest/gtest.h>

using namespace std::chrono;
using tq::ConstruireRequete;
using tq::TPeriode;
using tq::TReglagesRegionaux;
using tq::TTypeRequete;

namespace {

TReglagesRegionaux Reglages(std::u16string format, char16_t separateur)
{
    TReglagesRegionaux r;
    r.formatDateCourt = std::move(format);
    r.separateurDate = separateur;
    return r;
}

constexpr year_month_day Jour(int a, unsigned m, unsigned j)
{
    return year { a } / month { m } / day { j };
}

} // namespace

TEST(Requete, LesTroisTextesExacts)
{
    EXPECT_EQ(ConstruireRequete(TTypeRequete::ListeCentres),
              u"{\"type\":4,\"centre\":[],\"groupe\":[],\"requeteId\":1,\"requetSql\": null,\"id\":0,"
              u"\"libelle\":null,\"periode1Debut\":null,\"periode1Fin\":null,\"periode2Debut\":null,"
              u"\"periode2Fin\":null}");
    EXPECT_EQ(ConstruireRequete(TTypeRequete::StatistiquesPeriode, { Jour(2019, 3, 1), Jour(2019, 3, 31) },
                                Reglages(u"dd/MM/yyyy", u'/')),
              u"{\"type\":100,\"centre\":[],\"groupe\":[],\"requeteId\":1,\"requetSql\": null,\"id\":0,"
              u"\"libelle\":null,\"periode1Debut\":\"01/03/2019\",\"periode1Fin\":\"31/03/2019\","
              u"\"periode2Debut\":null,\"periode2Fin\":null}");
    EXPECT_EQ(ConstruireRequete(TTypeRequete::ListeAcces),
              u"{\"type\":100,\"centre\":[],\"groupe\":[],\"requeteId\":2,\"requetSql\": null,\"id\":0,"
              u"\"libelle\":null,\"periode1Debut\":null,\"periode1Fin\":null,\"periode2Debut\":null,"
              u"\"periode2Fin\":null}");
}

TEST(Requete, LaPeriodeNeSertQuAuxStatistiques)
{
    const TPeriode periode { Jour(2019, 3, 1), Jour(2019, 3, 31) };
    EXPECT_EQ(ConstruireRequete(TTypeRequete::ListeAcces, periode), ConstruireRequete(TTypeRequete::ListeAcces));
    EXPECT_EQ(ConstruireRequete(TTypeRequete::ListeCentres, periode), ConstruireRequete(TTypeRequete::ListeCentres));
}

TEST(Requete, TexteDesDates)
{
    struct Cas {
        const char* nom;
        std::u16string format;
        char16_t separateur;
        year_month_day debut;
        year_month_day fin;
        std::u16string_view attendu;
    };
    const Cas cas[] = {
        { "jour mois annee sans zeros", u"d/M/yyyy", u'/', Jour(2019, 3, 1), Jour(2019, 3, 9),
          u"\"periode1Debut\":\"1/3/2019\",\"periode1Fin\":\"9/3/2019\"," },
        { "annee en tete et tiret", u"yyyy-MM-dd", u'-', Jour(2019, 3, 1), Jour(2019, 3, 1),
          u"\"periode1Debut\":\"2019-03-01\",\"periode1Fin\":\"2019-03-01\"," },
        { "jour zero", u"dd/MM/yyyy", u'/', tq::JourZero, Jour(2019, 3, 1),
          u"\"periode1Debut\":\"30/12/1899\",\"periode1Fin\":\"01/03/2019\"," },
        { "fin avant debut envoyee telle quelle", u"dd/MM/yyyy", u'/', Jour(2019, 3, 20), Jour(2019, 3, 15),
          u"\"periode1Debut\":\"20/03/2019\",\"periode1Fin\":\"15/03/2019\"," },
        { "reglage par defaut mois jour annee courte", u"M/d/yy", u'/', Jour(2019, 3, 1), Jour(2009, 12, 31),
          u"\"periode1Debut\":\"3/1/19\",\"periode1Fin\":\"12/31/09\"," },
        { "separateur du reglage a la place de celui du motif", u"dd/MM/yyyy", u'.', Jour(2019, 3, 1), Jour(2019, 3, 2),
          u"\"periode1Debut\":\"01.03.2019\",\"periode1Fin\":\"02.03.2019\"," },
        { "guillemet dans le separateur echappe", u"dd/MM/yyyy", u'"', Jour(2019, 3, 1), Jour(2019, 3, 2),
          u"\"periode1Debut\":\"01\\\"03\\\"2019\",\"periode1Fin\":\"02\\\"03\\\"2019\"," },
        { "barre oblique inverse echappee", u"dd/MM/yyyy", u'\\', Jour(2019, 3, 1), Jour(2019, 3, 2),
          u"\"periode1Debut\":\"01\\\\03\\\\2019\",\"periode1Fin\":\"02\\\\03\\\\2019\"," },
        { "caractere de controle echappe", u"dd/MM/yyyy", u'\t', Jour(2019, 3, 1), Jour(2019, 3, 2),
          u"\"periode1Debut\":\"01\\u000903\\u00092019\",\"periode1Fin\":\"02\\u000903\\u00092019\"," },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::u16string texte =
            ConstruireRequete(TTypeRequete::StatistiquesPeriode, { c.debut, c.fin }, Reglages(c.format, c.separateur));
        EXPECT_NE(texte.find(c.attendu), std::u16string::npos);
    }
}

TEST(Requete, BornesDuMois)
{
    struct Cas {
        const char* nom;
        year_month_day jour;
        year_month_day premier;
        year_month_day dernier;
    };
    const Cas cas[] = {
        { "fevrier bissextile", Jour(2024, 2, 13), Jour(2024, 2, 1), Jour(2024, 2, 29) },
        { "fevrier commun", Jour(2023, 2, 28), Jour(2023, 2, 1), Jour(2023, 2, 28) },
        { "fevrier 1900 non bissextile", Jour(1900, 2, 5), Jour(1900, 2, 1), Jour(1900, 2, 28) },
        { "fevrier 2000 bissextile", Jour(2000, 2, 5), Jour(2000, 2, 1), Jour(2000, 2, 29) },
        { "decembre", Jour(2019, 12, 31), Jour(2019, 12, 1), Jour(2019, 12, 31) },
        { "avril", Jour(2019, 4, 15), Jour(2019, 4, 1), Jour(2019, 4, 30) },
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(tq::PremierJourDuMois(c.jour), c.premier);
        EXPECT_EQ(tq::DernierJourDuMois(c.jour), c.dernier);
    }
}
