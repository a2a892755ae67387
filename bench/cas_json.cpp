// The two readers against the peer libraries: each case parses the same
// input, walks every value (every string's text read, every number's value
// taken) and releases the tree, the three steps timed apart.

#include <optional>
#include <string>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <simdjson.h>

#include "bench/cas.h"
#include "bench/donnees.h"
#include "json/souple/valeur_souple.h"
#include "json/strict/document_strict.h"
#include "platform/texte_utf.h"

namespace tq::bench {

namespace {

// What a walk saw. Every reader of a group must count the same values and
// strings; the code units read are summed so that no read can be skipped.
struct TComptes {
    std::size_t valeurs = 0;
    std::size_t chaines = 0;
    std::size_t unites = 0;
    double nombres = 0;

    std::string Texte() const { return "valeurs=" + std::to_string(valeurs) + " chaines=" + std::to_string(chaines); }
};

// --- strict reader -----------------------------------------------------------

namespace js = json_strict;

void Parcourir(const js::TValeur& valeur, TComptes& comptes)
{
    ++comptes.valeurs;
    switch (js::ValueKind(valeur)) {
    case js::TTypeValeur::Objet:
        for (std::size_t i = 0, n = js::PairCount(valeur); i < n; ++i) {
            const js::TPaire* paire = js::PairAt(valeur, static_cast<std::ptrdiff_t>(i));
            comptes.unites += js::PairName(*paire).size();
            Parcourir(js::PairValue(*paire), comptes);
        }
        break;
    case js::TTypeValeur::Tableau:
        for (std::size_t i = 0, n = js::ElementCount(valeur); i < n; ++i)
            Parcourir(*js::ElementAt(valeur, static_cast<std::ptrdiff_t>(i)), comptes);
        break;
    case js::TTypeValeur::Chaine: {
        ++comptes.chaines;
        const std::u16string_view texte = js::StringView(valeur);
        comptes.unites += texte.size() + (texte.empty() ? 0 : static_cast<std::size_t>(texte.back() & 1));
        break;
    }
    case js::TTypeValeur::Nombre:
        comptes.unites += js::ValueText(valeur, u',').size();
        break;
    default:
        break;
    }
}

void MesurerStrict(const std::string& octets, TMesure& mesure)
{
    TComptes comptes;
    mesure.Repeter([&] {
        comptes = {};
        std::optional<js::TDocument> document = js::ParseDocument(octets, 0);
        mesure.Etape("analyse");
        Parcourir(document->Racine(), comptes);
        mesure.Etape("parcours");
        document.reset();
        mesure.Etape("liberation");
    });
    Garder(comptes);
    mesure.Controle(comptes.Texte());
}

// --- RapidJSON, UTF-8 or UTF-16 -------------------------------------------------

template <class TValeurRapid> void ParcourirRapid(const TValeurRapid& valeur, TComptes& comptes)
{
    ++comptes.valeurs;
    if (valeur.IsObject()) {
        for (auto membre = valeur.MemberBegin(); membre != valeur.MemberEnd(); ++membre) {
            comptes.unites += membre->name.GetStringLength();
            ParcourirRapid(membre->value, comptes);
        }
    } else if (valeur.IsArray()) {
        for (const auto& element : valeur.GetArray())
            ParcourirRapid(element, comptes);
    } else if (valeur.IsString()) {
        ++comptes.chaines;
        const auto* texte = valeur.GetString();
        const std::size_t n = valeur.GetStringLength();
        comptes.unites += n + (n > 0 ? static_cast<std::size_t>(texte[n - 1] & 1) : 0);
    } else if (valeur.IsNumber()) {
        comptes.nombres += valeur.GetDouble();
    }
}

template <class TDocumentRapid, class TTexte> void MesurerRapid(const TTexte& texte, TMesure& mesure)
{
    TComptes comptes;
    mesure.Repeter([&] {
        comptes = {};
        auto document = std::make_unique<TDocumentRapid>();
        document->Parse(texte.c_str());
        if (document->HasParseError())
            throw std::runtime_error("RapidJSON rejected the input");
        mesure.Etape("analyse");
        ParcourirRapid(*document, comptes);
        mesure.Etape("parcours");
        document.reset();
        mesure.Etape("liberation");
    });
    Garder(comptes);
    mesure.Controle(comptes.Texte());
}

// --- simdjson (DOM) -------------------------------------------------------------

void ParcourirSimd(simdjson::dom::element valeur, TComptes& comptes)
{
    ++comptes.valeurs;
    switch (valeur.type()) {
    case simdjson::dom::element_type::OBJECT:
        for (simdjson::dom::key_value_pair membre : simdjson::dom::object(valeur)) {
            comptes.unites += membre.key.size();
            ParcourirSimd(membre.value, comptes);
        }
        break;
    case simdjson::dom::element_type::ARRAY:
        for (simdjson::dom::element element : simdjson::dom::array(valeur))
            ParcourirSimd(element, comptes);
        break;
    case simdjson::dom::element_type::STRING: {
        ++comptes.chaines;
        const std::string_view texte = std::string_view(valeur);
        comptes.unites += texte.size() + (texte.empty() ? 0 : static_cast<std::size_t>(texte.back() & 1));
        break;
    }
    case simdjson::dom::element_type::INT64:
    case simdjson::dom::element_type::UINT64:
    case simdjson::dom::element_type::DOUBLE:
        comptes.nombres += double(valeur);
        break;
    default:
        break;
    }
}

void MesurerSimd(const std::string& octets, TMesure& mesure)
{
    const simdjson::padded_string entree(octets);
    TComptes comptes;
    mesure.Repeter([&] {
        comptes = {};
        auto parseur = std::make_unique<simdjson::dom::parser>();
        simdjson::dom::element racine;
        if (parseur->parse(entree).get(racine) != simdjson::SUCCESS)
            throw std::runtime_error("simdjson rejected the input");
        mesure.Etape("analyse");
        ParcourirSimd(racine, comptes);
        mesure.Etape("parcours");
        parseur.reset();
        mesure.Etape("liberation");
    });
    Garder(comptes);
    mesure.Controle(comptes.Texte());
}

// --- nlohmann::json --------------------------------------------------------------

void ParcourirNlohmann(const nlohmann::json& valeur, TComptes& comptes)
{
    ++comptes.valeurs;
    if (valeur.is_object()) {
        for (const auto& [nom, membre] : valeur.items()) {
            comptes.unites += nom.size();
            ParcourirNlohmann(membre, comptes);
        }
    } else if (valeur.is_array()) {
        for (const nlohmann::json& element : valeur)
            ParcourirNlohmann(element, comptes);
    } else if (valeur.is_string()) {
        ++comptes.chaines;
        const std::string& texte = valeur.get_ref<const std::string&>();
        comptes.unites += texte.size() + (texte.empty() ? 0 : static_cast<std::size_t>(texte.back() & 1));
    } else if (valeur.is_number()) {
        comptes.nombres += valeur.get<double>();
    }
}

void MesurerNlohmann(const std::string& octets, TMesure& mesure)
{
    TComptes comptes;
    mesure.Repeter([&] {
        comptes = {};
        auto document = std::make_unique<nlohmann::json>(nlohmann::json::parse(octets));
        mesure.Etape("analyse");
        ParcourirNlohmann(*document, comptes);
        mesure.Etape("parcours");
        document.reset();
        mesure.Etape("liberation");
    });
    Garder(comptes);
    mesure.Controle(comptes.Texte());
}

// --- lenient reader --------------------------------------------------------------

namespace jl = json_souple;

void ParcourirSouple(const jl::TValeurSouple& valeur, TComptes& comptes)
{
    ++comptes.valeurs;
    switch (valeur.Genre()) {
    case jl::TGenreSouple::Objet:
    case jl::TGenreSouple::Tableau:
        for (const jl::TValeurSouple& element : jl::EnumerateElements(valeur))
            ParcourirSouple(element, comptes);
        break;
    case jl::TGenreSouple::Texte: {
        ++comptes.chaines;
        const std::u16string_view texte = valeur.Texte();
        comptes.unites += texte.size() + (texte.empty() ? 0 : static_cast<std::size_t>(texte.back() & 1));
        break;
    }
    case jl::TGenreSouple::Entier:
        comptes.nombres += static_cast<double>(valeur.Entier());
        break;
    case jl::TGenreSouple::Decimal:
        comptes.nombres += static_cast<double>(valeur.DixMilliemes()) / 10000;
        break;
    case jl::TGenreSouple::Flottant:
        comptes.nombres += valeur.Flottant();
        break;
    default:
        break;
    }
}

void MesurerSouple(const std::u16string& texte, TMesure& mesure)
{
    TComptes comptes;
    mesure.Repeter([&] {
        comptes = {};
        std::optional<jl::TDocumentSouple> document = jl::ParseLenientText(texte);
        mesure.Etape("analyse");
        ParcourirSouple(document->Racine(), comptes);
        mesure.Etape("parcours");
        document.reset();
        mesure.Etape("liberation");
    });
    Garder(comptes);
    mesure.Controle(comptes.Texte());
}

using TDocumentUtf16 = rapidjson::GenericDocument<rapidjson::UTF16<char16_t>>;

} // namespace

void AjouterCasJson(std::vector<TCas>& cas)
{
    cas.push_back({ "strict.centres",
                    [](const TParametres& p, TMesure& m) { MesurerStrict(LireFichier(FichierCentres(p)), m); } });
    cas.push_back({ "rapidjson.centres",
                    [](const TParametres& p, TMesure& m) {
                        MesurerRapid<rapidjson::Document>(LireFichier(FichierCentres(p)), m);
                    } });
    cas.push_back({ "simdjson.centres",
                    [](const TParametres& p, TMesure& m) { MesurerSimd(LireFichier(FichierCentres(p)), m); } });
    cas.push_back({ "nlohmann.centres",
                    [](const TParametres& p, TMesure& m) { MesurerNlohmann(LireFichier(FichierCentres(p)), m); } });
    cas.push_back({ "strict.resultats",
                    [](const TParametres& p, TMesure& m) { MesurerStrict(LireFichier(FichierResultats(p)), m); } });
    cas.push_back({ "rapidjson.resultats",
                    [](const TParametres& p, TMesure& m) {
                        MesurerRapid<rapidjson::Document>(LireFichier(FichierResultats(p)), m);
                    } });
    cas.push_back({ "simdjson.resultats",
                    [](const TParametres& p, TMesure& m) { MesurerSimd(LireFichier(FichierResultats(p)), m); } });
    cas.push_back({ "nlohmann.resultats",
                    [](const TParametres& p, TMesure& m) { MesurerNlohmann(LireFichier(FichierResultats(p)), m); } });
    // The lenient reader reads text, as it does in the system: both readers
    // get the answer already decoded to UTF-16.
    cas.push_back(
        { "souple.resultats",
          [](const TParametres& p, TMesure& m) { MesurerSouple(DepuisUtf8(LireFichier(FichierResultats(p))), m); } });
    cas.push_back({ "rapidjson16.resultats", [](const TParametres& p, TMesure& m) {
                       MesurerRapid<TDocumentUtf16>(DepuisUtf8(LireFichier(FichierResultats(p))), m);
                   } });
}

} // namespace tq::bench
