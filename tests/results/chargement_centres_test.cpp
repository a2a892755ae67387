#include "results/chargement_centres.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/texte_utf.h"
#include "results/erreurs_resultats.h"

namespace tq {

// Shows a failing entry field by field rather than as raw bytes.
void PrintTo(const TEnr_Centre& c, std::ostream* sortie)
{
    *sortie << "{ID " << c.ID << ", codeMorva " << c.codeMorva << ", codeTq '" << VersUtf8(c.codeTq) << "', zone "
            << c.zone << ", enseigne '" << VersUtf8(c.enseigne) << "', societe '" << VersUtf8(c.societe)
            << "', adresse1 '" << VersUtf8(c.adresse1) << "', adresse2 '" << VersUtf8(c.adresse2) << "', codePostal '"
            << VersUtf8(c.codePostal) << "', ville '" << VersUtf8(c.ville) << "', pays '" << VersUtf8(c.pays)
            << "', responsable '" << VersUtf8(c.responsable) << "', siren '" << VersUtf8(c.siren) << "', numeroTva '"
            << VersUtf8(c.numeroTva) << "', adresseIp '" << VersUtf8(c.adresseIp) << "', dateCreation '"
            << VersUtf8(c.dateCreation) << "', Modification " << c.Modification << "}";
}

} // namespace tq

namespace {

using tq::TEnr_Centre;

// An entry in the zero state but for its identifier and trade name.
TEnr_Centre Centre(std::int32_t id, std::u16string enseigne = {})
{
    TEnr_Centre centre;
    centre.ID = id;
    centre.enseigne = std::move(enseigne);
    return centre;
}

tq::TReglagesRegionaux ReglagesFrancais()
{
    tq::TReglagesRegionaux reglages;
    reglages.separateurDecimal = u',';
    return reglages;
}

std::vector<TEnr_Centre> Charger(std::u16string_view reponse)
{
    std::vector<TEnr_Centre> centres;
    tq::ChargerCentres(reponse, centres, ReglagesFrancais());
    return centres;
}

// The message of the failure that loading raises, or "" when it raises none;
// the directory is left in `centres` either way.
std::string Echec(std::u16string_view reponse, std::vector<TEnr_Centre>& centres)
{
    try {
        tq::ChargerCentres(reponse, centres, ReglagesFrancais());
    } catch (const tq::Erreur& e) {
        return e.what();
    }
    return "";
}

TEST(ChargerCentres, ReponsesSansCentre)
{
    struct TCas {
        const char* nom;
        std::u16string_view reponse;
    };
    const TCas cas[] = {
        { "tableau vide", uR"({"centres":[]})" },
        { "reponse vide", u"" },
        { "blancs seuls", u"  \r\n" },
        { "pas du JSON", u"<html>Erreur 500</html>" },
        { "texte apres l objet", uR"({"centres":[{"id":1}]}x)" },
        { "deux objets", uR"({"centres":[{"id":1}]}{})" },
        { "sans membre centres", uR"({"autres":[{"id":1}]})" },
        { "Centres en majuscule", uR"({"Centres":[{"id":1}]})" },
        { "centres nul", uR"({"centres":null})" },
        { "centres objet", uR"({"centres":{"id":1}})" },
        { "centres texte", uR"({"centres":"a"})" },
        { "centres nombre", uR"({"centres":3})" },
        { "JSON tronque", uR"({"centres":[{"id":1})" },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        std::vector<TEnr_Centre> centres(2); // an earlier load is always replaced
        EXPECT_EQ(Echec(c.reponse, centres), "");
        EXPECT_TRUE(centres.empty());
    }
}

TEST(ChargerCentres, DocumentQuiNEstPasUnObjet)
{
    const std::u16string_view reponses[] = { uR"([{"id":1}])", uR"("centres")", u"12", u"true", u"false", u"null" };
    for (std::u16string_view reponse : reponses) {
        SCOPED_TRACE(tq::VersUtf8(reponse));
        std::vector<TEnr_Centre> centres(2);
        EXPECT_EQ(Echec(reponse, centres), "Transtypage de classe incorrect");
        EXPECT_TRUE(centres.empty());
    }
}

TEST(ChargerCentres, SautDeLigneApresLAccolade)
{
    const auto centres = Charger(u"{\"centres\":[{\"id\":7}]}\r\n");
    ASSERT_EQ(centres.size(), 1u);
    EXPECT_EQ(centres[0].ID, 7);
}

TEST(ChargerCentres, SeizeClesDansLOrdreDesEntrees)
{
    const auto centres = Charger(uR"({"version":2,"centres":[
        {"id":1,"codeMorva":1001,"codeTq":"TQ01","zone":3,"enseigne":"Centre Nord","societe":"SARL Nord",
         "adresse1":"1 rue A","adresse2":"BP 2","codePostal":"59000","ville":"Lille","pays":"France",
         "responsable":"M. Martin","siren":"123456789","numeroTva":"FR00123456789","adresseIp":"10.0.0.1",
         "dateCreation":"2019-03-01","autre":"ignore","Modification":true},
        {"enseigne":"Centre Sud","id":2},
        {}
    ]})");
    TEnr_Centre premier = Centre(1, u"Centre Nord");
    premier.codeMorva = 1001;
    premier.codeTq = u"TQ01";
    premier.zone = 3;
    premier.societe = u"SARL Nord";
    premier.adresse1 = u"1 rue A";
    premier.adresse2 = u"BP 2";
    premier.codePostal = u"59000";
    premier.ville = u"Lille";
    premier.pays = u"France";
    premier.responsable = u"M. Martin";
    premier.siren = u"123456789";
    premier.numeroTva = u"FR00123456789";
    premier.adresseIp = u"10.0.0.1";
    premier.dateCreation = u"2019-03-01";
    ASSERT_EQ(centres.size(), 3u);
    EXPECT_EQ(centres[0], premier);
    EXPECT_EQ(centres[1], Centre(2, u"Centre Sud"));
    EXPECT_EQ(centres[2], TEnr_Centre {});
    EXPECT_EQ(tq::LibellesCentres(centres), (std::vector<std::u16string> { u"Centre Nord", u"Centre Sud", u"" }));
}

TEST(ChargerCentres, LectureDesEntiers)
{
    struct TCas {
        const char* nom;
        std::u16string_view valeur;
        std::int32_t id;
    };
    const TCas cas[] = {
        { "nombre", u"42", 42 },
        { "texte", u"\"42\"", 42 },
        { "nombre a virgule nulle", u"42.0", 42 },
        { "exposant", u"4.2E1", 42 },
        { "negatif", u"-7", -7 },
        { "texte hexa", u"\"$FFFFFFFF\"", -1 },
        { "decimal", u"4.5", 0 },
        { "vrai", u"true", 0 },
        { "nul", u"null", 0 },
        { "texte non numerique", u"\"abc\"", 0 },
        { "hors de 32 bits", u"3000000000", 0 },
        { "long entier", u"123456789012", 0 },
        { "objet", u"{\"v\":1}", 0 },
        { "tableau", u"[1]", 0 },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto centres = Charger(u"{\"centres\":[{\"id\":" + std::u16string(c.valeur) + u",\"zone\":"
                                     + std::u16string(c.valeur) + u"}]}");
        ASSERT_EQ(centres.size(), 1u);
        EXPECT_EQ(centres[0].ID, c.id);
        EXPECT_EQ(centres[0].zone, c.id);
    }
}

TEST(ChargerCentres, TextesDesEnseignes)
{
#ifdef _WIN32
    GTEST_SKIP() << "a fact of the Linux best-fit table (built from ICU); Windows converts with its own best fit";
#endif
    struct TCas {
        const char* nom;
        std::u16string_view membre;
        std::u16string_view enseigne;
    };
    const TCas cas[] = {
        { "absente", u"\"x\":1", u"" },
        { "nulle", u"\"enseigne\":null", u"" },
        { "objet", u"\"enseigne\":{}", u"" },
        { "tableau", u"\"enseigne\":[\"a\"]", u"" },
        { "vrai", u"\"enseigne\":true", u"" },
        { "nombre", u"\"enseigne\":12", u"12" },
        { "nombre decimal", u"\"enseigne\":1.50", u"1,5" },
        { "en double", u"\"enseigne\":\"premier\",\"enseigne\":\"second\"", u"premier" },
        { "ENSEIGNE", u"\"Enseigne\":\"x\"", u"" },
        { "guillemets echappes", u"\"enseigne\":\"Le \\\"Grand\\\" Centre\"", u"Le \"Grand\" Centre" },
        { "barre inverse echappee", u"\"enseigne\":\"A\\\\B\"", u"A\\B" },
        { "guillemets typographiques", u"\"enseigne\":\"Le “Grand” Centre\"", u"Le 'Grand' Centre" },
        { "guillemets typographiques echappes", u"\"enseigne\":\"Le \\u201CGrand\\u201D\"", u"Le 'Grand'" },
        { "guillemets francais", u"\"enseigne\":\"« Centre »\"", u"' Centre '" },
        { "double prime echappe", u"\"enseigne\":\"5\\u2033\"", u"5'" },
        { "ligature", u"\"enseigne\":\"Cœur de ville\"", u"Cour de ville" },
        { "ideogramme", u"\"enseigne\":\"\\u4E2D\"", u"?" },
        { "paire echappee", u"\"enseigne\":\"\\ud83d\\ude00\"", u"?" },
        { "saut de ligne echappe", u"\"enseigne\":\"a\\nb\"", u"a\nb" },
        { "echappement u non hexadecimal", u"\"enseigne\":\"A\\u00zzB\"", u"A?B" },
        { "marque d'ordre au milieu", u"\"enseigne\":\"A\uFEFFB\"", u"A?B" },
        { "cle en echappements", u"\"ens\\u0065igne\":\"x\"", u"x" },
        { "cle reduite", u"\"ens\\u00E9igne\":\"x\"", u"x" },
        { "premiere cle reduite", u"\"enseign\\u00E9\":\"premier\",\"enseigne\":\"second\"", u"premier" },
    };
    for (const TCas& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto centres = Charger(u"{\"centres\":[{\"id\":1," + std::u16string(c.membre) + u"}]}");
        ASSERT_EQ(centres.size(), 1u);
        EXPECT_EQ(tq::VersUtf8(centres[0].enseigne), tq::VersUtf8(c.enseigne));
        EXPECT_EQ(centres[0].ID, 1);
    }
}

TEST(ChargerCentres, VilleEtAdresseReduitesEnAscii)
{
    const auto centres =
        Charger(uR"({"centres":[{"ville":"Château","adresse1":"C:\\Dossier"},{"ville":"Ch\u00e2teau"}]})");
    ASSERT_EQ(centres.size(), 2u);
    EXPECT_EQ(centres[0].ville, u"Chateau");
    EXPECT_EQ(centres[0].adresse1, u"C:\\Dossier");
    EXPECT_EQ(centres[1].ville, u"Chateau");
}

TEST(ChargerCentres, MarqueDOrdreDesOctetsEnTete)
{
    const auto centres = Charger(u"\uFEFF{\"centres\":[{\"id\":5}]}");
    ASSERT_EQ(centres.size(), 1u);
    EXPECT_EQ(centres[0].ID, 5);
}

TEST(ChargerCentres, ElementQuiNEstPasUnObjet)
{
    std::vector<TEnr_Centre> centres;
    EXPECT_EQ(Echec(uR"({"centres":[{"id":1},7,{"id":3}]})", centres), "Transtypage de classe incorrect");
    ASSERT_EQ(centres.size(), 3u);
    EXPECT_EQ(centres[0], Centre(1));
    EXPECT_EQ(centres[1], TEnr_Centre {});
    EXPECT_EQ(centres[2], TEnr_Centre {});
}

TEST(ChargerCentres, NombreQuiNEstPasUnEntier64Bits)
{
    std::vector<TEnr_Centre> centres;
    const std::string message = Echec(uR"({"centres":[{"id":1},
        {"id":2,"codeMorva":3,"codeTq":12345678901e2,"zone":4,"enseigne":"x"},
        {"id":5}]})",
                                      centres);
    EXPECT_EQ(message, "'12345678901e2' n'est pas une valeur entière correcte");
    ASSERT_EQ(centres.size(), 3u);
    EXPECT_EQ(centres[0], Centre(1));
    TEnr_Centre deuxieme = Centre(2);
    deuxieme.codeMorva = 3;
    EXPECT_EQ(centres[1], deuxieme);
    EXPECT_EQ(centres[2], TEnr_Centre {});
}

TEST(ChargerCentres, UnChargementRemplaceLePrecedent)
{
    std::vector<TEnr_Centre> centres = Charger(uR"({"centres":[{"id":1},{"id":2},{"id":3}]})");
    ASSERT_EQ(centres.size(), 3u);
    tq::ChargerCentres(uR"({"centres":[{"enseigne":"seul"}]})", centres, ReglagesFrancais());
    ASSERT_EQ(centres.size(), 1u);
    EXPECT_EQ(centres[0], Centre(0, u"seul"));
    EXPECT_FALSE(centres[0].Modification);
}

} // namespace
