#include "server/demo.h"

#include "outils_test.h"
#include "platform/texte_utf.h"
#include "server/base.h"
#include "server/erreurs_serveur.h"
#include "server/reponse.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

using namespace std::chrono;

namespace {

constexpr year_month_day jourDeConstruction = 2019y / March / 15d;

long long Compter(tq::TBase& base, const char* sql)
{
    tq::TInstruction instruction(base, sql);
    EXPECT_TRUE(instruction.Etape());
    return instruction.Entier(0);
}

std::u16string Texte(tq::TBase& base, const char* sql)
{
    tq::TInstruction instruction(base, sql);
    EXPECT_TRUE(instruction.Etape());
    return instruction.Texte(0);
}

bool LuhnValide(std::u16string_view numero)
{
    int somme = 0;
    for (std::size_t i = 0; i < numero.size(); ++i) {
        int chiffre = numero[numero.size() - 1 - i] - u'0';
        if (i % 2 == 1) {
            chiffre *= 2;
            if (chiffre > 9)
                chiffre -= 9;
        }
        somme += chiffre;
    }
    return somme % 10 == 0;
}

class Demo : public ::testing::Test {
protected:
    tq::test::TDossierTemporaire dossier;
};

} // namespace

TEST_F(Demo, MemeJourMemesReponses)
{
    const std::string premiere = dossier.Chemin("a.sqlite");
    const std::string seconde = dossier.Chemin("b.sqlite");
    tq::CreerBaseDemo(premiere, jourDeConstruction);
    tq::CreerBaseDemo(seconde, jourDeConstruction);
    const std::string requetes[] = {
        tq::test::TexteRequete(4, 1),
        tq::test::TexteRequete(100, 1, "01/04/2016", "15/03/2019"),
        tq::test::TexteRequete(100, 1, "01/03/2019", "31/03/2019"),
        tq::test::TexteRequete(100, 2),
    };
    for (const std::string& requete : requetes) {
        SCOPED_TRACE(requete);
        const tq::TReponse a = tq::Repondre(requete, { premiere, tq::TFormatDate(u"dd/MM/yyyy") });
        const tq::TReponse b = tq::Repondre(requete, { seconde, tq::TFormatDate(u"dd/MM/yyyy") });
        EXPECT_EQ(a.statut, 200);
        EXPECT_EQ(a.corps, b.corps);
    }
}

TEST_F(Demo, UnJourPlusTardGardeLesMemesChiffres)
{
    const std::string avant = dossier.Chemin("avant.sqlite");
    const std::string apres = dossier.Chemin("apres.sqlite");
    const tq::TResumeDemo resumeAvant = tq::CreerBaseDemo(avant, jourDeConstruction);
    const tq::TResumeDemo resumeApres = tq::CreerBaseDemo(apres, 2019y / May / 2d);
    EXPECT_EQ(resumeAvant.centres, resumeApres.centres);

    const std::string requete = tq::test::TexteRequete(100, 1, "01/06/2016", "14/03/2019");
    const tq::TReponse a = tq::Repondre(requete, { avant, tq::TFormatDate(u"dd/MM/yyyy") });
    const tq::TReponse b = tq::Repondre(requete, { apres, tq::TFormatDate(u"dd/MM/yyyy") });
    ASSERT_EQ(a.statut, 200);
    EXPECT_EQ(a.corps, b.corps);
}

TEST_F(Demo, TroisAnsJusquAuJourDeConstruction)
{
    const std::string chemin = dossier.Chemin("demo.sqlite");
    const tq::TResumeDemo resume = tq::CreerBaseDemo(chemin, jourDeConstruction);
    tq::TBase base(chemin, tq::TBase::TMode::Lecture);

    EXPECT_EQ(Compter(base, "SELECT count(*) FROM centre"), resume.centres);
    EXPECT_EQ(Compter(base, "SELECT count(*) FROM activite"), resume.joursActivite);
    EXPECT_EQ(Compter(base, "SELECT count(*) FROM acces"), resume.acces);
    EXPECT_GE(resume.centres, 40);

    // From 1 April 2016 to 15 March 2019, every single day has activity.
    const long long jours = (sys_days { jourDeConstruction } - sys_days { 2016y / April / 1d }).count() + 1;
    EXPECT_EQ(Texte(base, "SELECT min(jour) FROM activite"), u"2016-04-01");
    EXPECT_EQ(Texte(base, "SELECT max(jour) FROM activite"), u"2019-03-15");
    EXPECT_EQ(Compter(base, "SELECT count(DISTINCT jour) FROM activite"), jours);
    EXPECT_EQ(Compter(base, "SELECT count(*) FROM activite WHERE controles <= 0 OR contre_visites > controles "
                            "OR chiffre_affaires < 0"),
              0);

    // Accesses up to the day before, every one with a user and an address.
    EXPECT_GT(resume.acces, 500);
    EXPECT_LT(Texte(base, "SELECT max(horodatage) FROM acces"), u"2019-03-15");
    EXPECT_GE(Texte(base, "SELECT min(horodatage) FROM acces"), u"2016-04-01");
    EXPECT_EQ(Compter(base, "SELECT count(*) FROM acces WHERE utilisateur = '' OR adresse_ip = ''"), 0);
    EXPECT_GT(Compter(base, "SELECT count(*) FROM acces WHERE centre_id IS NULL"), 0);
}

TEST_F(Demo, FichesDesCentresCredibles)
{
    const std::string chemin = dossier.Chemin("demo.sqlite");
    tq::CreerBaseDemo(chemin, jourDeConstruction);
    tq::TBase base(chemin, tq::TBase::TMode::Lecture);
    tq::TInstruction instruction(base, "SELECT enseigne, code_tq, siren, numero_tva, ville, adresse1, adresse2, "
                                       "responsable, societe FROM centre");
    std::set<std::u16string> enseignes;
    std::set<std::u16string> codes;
    int accentuees = 0;
    while (instruction.Etape()) {
        const std::u16string enseigne = instruction.Texte(0);
        SCOPED_TRACE(tq::VersUtf8(enseigne));
        enseignes.insert(enseigne);
        codes.insert(instruction.Texte(1));

        const std::u16string siren = instruction.Texte(2);
        ASSERT_EQ(siren.size(), 9u);
        EXPECT_TRUE(LuhnValide(siren));
        long long numero = std::stoll(tq::VersUtf8(siren));
        const long long cle = (12 + 3 * (numero % 97)) % 97;
        EXPECT_EQ(instruction.Texte(3), u"FR" + tq::DepuisUtf8((cle < 10 ? "0" : "") + std::to_string(cle)) + siren);

        // The client reduces the centre list to ASCII: only Latin letters
        // with accents (and the degree sign) may appear, never a character
        // that would become a quote or a backslash there.
        for (int colonne : { 0, 4, 5, 6, 7, 8 }) {
            const std::u16string texte = instruction.Texte(colonne);
            EXPECT_FALSE(texte.empty() && colonne != 6);
            for (const char16_t c : texte) {
                EXPECT_TRUE(c >= 0x20 && c != u'\\' && (c < 0x7F || c == 0xB0 || (c >= 0xC0 && c <= 0xFF)))
                    << "caractère " << static_cast<int>(c);
                if (c >= 0xC0)
                    ++accentuees;
            }
        }
    }
    EXPECT_EQ(enseignes.size(), static_cast<std::size_t>(Compter(base, "SELECT count(*) FROM centre")));
    EXPECT_EQ(codes.size(), enseignes.size());
    EXPECT_GT(accentuees, 40);
}

TEST_F(Demo, RemplaceLaBaseEtEchoueProprement)
{
    const std::string chemin = dossier.Chemin("demo.sqlite");
    std::ofstream(chemin) << "ceci n'est pas une base";
    tq::CreerBaseDemo(chemin, jourDeConstruction);
    tq::TBase base(chemin, tq::TBase::TMode::Lecture);
    EXPECT_GT(Compter(base, "SELECT count(*) FROM centre"), 0);

    const std::string sansDossier = dossier.Chemin("absent/demo.sqlite");
    try {
        tq::CreerBaseDemo(sansDossier, jourDeConstruction);
        ADD_FAILURE() << "créée";
    } catch (const tq::ErreurBase& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Impossible de créer la base « " + sansDossier + " ». ", 0), 0u)
            << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dossier.Chemin("absent")));
}
