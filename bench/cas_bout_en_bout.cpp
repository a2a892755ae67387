// End to end, as a command runs: the answer fetched from the loopback server
// and turned into the result file (or the centre directory), against the
// reference pipeline built from the peer libraries.

#include <cstdint>
#include <memory>
#include <string>

#include <rapidjson/document.h>
#include <simdjson.h>

#include "bench/cas.h"
#include "bench/donnees.h"
#include "bench/ecrivain_table.h"
#include "bench/reception_curl.h"
#include "bench/requete_bench.h"
#include "platform/texte_utf.h"
#include "query/transport.h"
#include "results/centre.h"
#include "results/chargement_centres.h"
#include "results/enregistrement.h"

namespace tq::bench {

namespace {

void Journal(std::u16string_view ligne)
{
    throw std::runtime_error("unexpected log line: " + VersUtf8(ligne));
}

std::string ControleFichier(const std::filesystem::path& chemin)
{
    return "octets=" + std::to_string(std::filesystem::file_size(chemin));
}

// Interroger, then EnregistrerResultats, then the answer's text released.
void ResultatsSysteme(const TParametres& parametres, TMesure& mesure)
{
    const std::u16string requete = RequeteStatistiques();
    const std::string url = UrlServeur(parametres, "/resultats");
    const std::filesystem::path chemin = FichierSortie(parametres, "e2e.systeme");
    mesure.Repeter([&] {
        std::u16string resultatRequete;
        if (!Interroger(requete, resultatRequete, Journal, url))
            throw std::runtime_error("Interroger failed");
        mesure.Etape("Interroger");
        EnregistrerResultats(resultatRequete, chemin);
        mesure.Etape("EnregistrerResultats");
        resultatRequete = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(ControleFichier(chemin));
}

// libcurl into memory, simdjson's DOM, the table writer streaming to the file.
void ResultatsReference(const TParametres& parametres, TMesure& mesure, std::string_view nom, TSynchronisation synchro)
{
    InitialiserCurl();
    const std::string corps = CorpsRequete(RequeteStatistiques());
    const std::string url = UrlServeur(parametres, "/resultats");
    const std::filesystem::path chemin = FichierSortie(parametres, nom);
    const TEcrivainTable table;
    mesure.Repeter([&] {
        std::string octets = RecevoirCurl(url, corps, simdjson::SIMDJSON_PADDING);
        mesure.Etape("libcurl");
        auto parseur = std::make_unique<simdjson::dom::parser>();
        simdjson::dom::array lignes;
        const bool rembourre = octets.capacity() - octets.size() >= simdjson::SIMDJSON_PADDING;
        if (parseur->parse(octets.data(), octets.size(), !rembourre)["resultats"].get_array().get(lignes)
            != simdjson::SUCCESS)
            throw std::runtime_error("simdjson rejected the answer");
        mesure.Etape("simdjson");
        TFichierFlux fichier(chemin, synchro);
        for (simdjson::dom::element ligne : lignes)
            fichier.Ajouter(table, std::string_view(ligne));
        fichier.Fermer();
        mesure.Etape("fichier");
        parseur.reset();
        octets = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(ControleFichier(chemin));
}

// The centres' count, and how many fields of each kind are set: the same for
// the directory and for the reference records.
struct TComptesCentres {
    std::size_t centres = 0;
    std::size_t textes = 0;
    std::int64_t entiers = 0;

    std::string Texte() const
    {
        return "centres=" + std::to_string(centres) + " textes=" + std::to_string(textes)
             + " entiers=" + std::to_string(entiers);
    }
};

TComptesCentres Compter(const std::vector<TEnr_Centre>& centres)
{
    TComptesCentres comptes;
    comptes.centres = centres.size();
    for (const TEnr_Centre& c : centres) {
        comptes.entiers += std::int64_t { c.ID } + c.codeMorva + c.zone;
        for (const std::u16string* texte :
             { &c.codeTq, &c.enseigne, &c.societe, &c.adresse1, &c.adresse2, &c.codePostal, &c.ville, &c.pays,
               &c.responsable, &c.siren, &c.numeroTva, &c.adresseIp, &c.dateCreation })
            comptes.textes += !texte->empty();
    }
    return comptes;
}

// A centre as a RapidJSON user would keep it: the UTF-8 texts copied out.
struct TCentreReference {
    std::int32_t id = 0;
    std::int32_t codeMorva = 0;
    std::int32_t zone = 0;
    std::string textes[13];
};

constexpr const char* ClesTextes[13] = { "codeTq",     "enseigne",  "societe",     "adresse1",    "adresse2",
                                         "codePostal", "ville",     "pays",        "responsable", "siren",
                                         "numeroTva",  "adresseIp", "dateCreation" };

std::int32_t Entier(const rapidjson::Value& objet, const char* cle)
{
    const auto membre = objet.FindMember(cle);
    return membre != objet.MemberEnd() && membre->value.IsInt() ? membre->value.GetInt() : 0;
}

// RapidJSON's parse of the bytes, then every field of every centre read.
std::vector<TCentreReference> CentresReference(const std::string& octets)
{
    rapidjson::Document document;
    document.Parse(octets.c_str());
    std::vector<TCentreReference> centres;
    if (document.HasParseError() || !document.IsObject())
        return centres;
    const auto membre = document.FindMember("centres");
    if (membre == document.MemberEnd() || !membre->value.IsArray())
        return centres;
    const auto tableau = membre->value.GetArray();
    centres.resize(tableau.Size());
    for (rapidjson::SizeType i = 0; i < tableau.Size(); ++i) {
        const rapidjson::Value& objet = tableau[i];
        if (!objet.IsObject())
            continue;
        TCentreReference& centre = centres[i];
        centre.id = Entier(objet, "id");
        centre.codeMorva = Entier(objet, "codeMorva");
        centre.zone = Entier(objet, "zone");
        for (int k = 0; k < 13; ++k) {
            const auto champ = objet.FindMember(ClesTextes[k]);
            if (champ != objet.MemberEnd() && champ->value.IsString())
                centre.textes[k].assign(champ->value.GetString(), champ->value.GetStringLength());
        }
    }
    return centres;
}

TComptesCentres Compter(const std::vector<TCentreReference>& centres)
{
    TComptesCentres comptes;
    comptes.centres = centres.size();
    for (const TCentreReference& c : centres) {
        comptes.entiers += std::int64_t { c.id } + c.codeMorva + c.zone;
        for (const std::string& texte : c.textes)
            comptes.textes += !texte.empty();
    }
    return comptes;
}

void CentresSysteme(const TParametres& parametres, TMesure& mesure)
{
    const std::u16string reponse = DepuisUtf8(LireFichier(FichierCentres(parametres)));
    TComptesCentres comptes;
    mesure.Repeter([&] {
        std::vector<TEnr_Centre> centres;
        ChargerCentres(reponse, centres, TReglagesRegionaux {});
        mesure.Etape("ChargerCentres");
        comptes = Compter(centres);
        centres = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(comptes.Texte());
}

void CentresRapid(const TParametres& parametres, TMesure& mesure)
{
    const std::string octets = LireFichier(FichierCentres(parametres));
    TComptesCentres comptes;
    mesure.Repeter([&] {
        std::vector<TCentreReference> centres = CentresReference(octets);
        mesure.Etape("analyse+champs");
        comptes = Compter(centres);
        centres = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(comptes.Texte());
}

void CentresBoutEnBoutSysteme(const TParametres& parametres, TMesure& mesure)
{
    const std::u16string requete = RequeteCentres();
    const std::string url = UrlServeur(parametres, "/centres");
    TComptesCentres comptes;
    mesure.Repeter([&] {
        std::u16string resultatRequete;
        if (!Interroger(requete, resultatRequete, Journal, url))
            throw std::runtime_error("Interroger failed");
        mesure.Etape("Interroger");
        std::vector<TEnr_Centre> centres;
        ChargerCentres(resultatRequete, centres, TReglagesRegionaux {});
        mesure.Etape("ChargerCentres");
        comptes = Compter(centres);
        centres = {};
        resultatRequete = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(comptes.Texte());
}

void CentresBoutEnBoutReference(const TParametres& parametres, TMesure& mesure)
{
    InitialiserCurl();
    const std::string corps = CorpsRequete(RequeteCentres());
    const std::string url = UrlServeur(parametres, "/centres");
    TComptesCentres comptes;
    mesure.Repeter([&] {
        std::string octets = RecevoirCurl(url, corps);
        mesure.Etape("libcurl");
        std::vector<TCentreReference> centres = CentresReference(octets);
        mesure.Etape("analyse+champs");
        comptes = Compter(centres);
        centres = {};
        octets = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(comptes.Texte());
}

} // namespace

void AjouterCasBoutEnBout(std::vector<TCas>& cas)
{
    cas.push_back({ "e2e.systeme", ResultatsSysteme });
    cas.push_back(
        { "e2e.reference", [](const TParametres& p,
                              TMesure& m) { ResultatsReference(p, m, "e2e.reference", TSynchronisation::Aucune); } });
    cas.push_back({ "e2e.reference_fsync", [](const TParametres& p, TMesure& m) {
                       ResultatsReference(p, m, "e2e.reference_fsync", TSynchronisation::Disque);
                   } });
    cas.push_back({ "centres.systeme", CentresSysteme });
    cas.push_back({ "centres.rapidjson", CentresRapid });
    cas.push_back({ "e2e_centres.systeme", CentresBoutEnBoutSysteme });
    cas.push_back({ "e2e_centres.reference", CentresBoutEnBoutReference });
}

} // namespace tq::bench
