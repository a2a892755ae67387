#include "bench/tableau.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <algorithm>
#include <map>
#include <stdexcept>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/utsname.h>
#include <unistd.h>

#include "bench/donnees.h"
#include "bench/execution_cas.h"
#include "bench/serveur_bench.h"

namespace tq::bench {

namespace {

enum class TSens { Info, AuPlus, AuMoins };

// One row of the table: a case, and the case it is compared with. The ratio
// is this case's median over the other's; the target bounds it.
struct TRangee {
    const char* cas;
    const char* libelle;
    const char* entree; // "centres", "resultats", "texte" or "lignes"
    const char* pair = nullptr;
    TSens sens = TSens::Info;
    double cible = 0;
};

constexpr TRangee Rangees[] = {
    { "strict.centres", "1. strict reader: ParseDocument, walk, release", "centres", "rapidjson.centres", TSens::AuPlus,
      1.0 },
    { "rapidjson.centres", "1. RapidJSON Document::Parse (UTF-8)", "centres" },
    { "simdjson.centres", "1. simdjson DOM", "centres", "strict.centres" },
    { "nlohmann.centres", "1. nlohmann::json::parse", "centres", "strict.centres", TSens::AuMoins, 3.0 },
    { "strict.resultats", "1. strict reader: ParseDocument, walk, release", "resultats", "rapidjson.resultats",
      TSens::AuPlus, 1.0 },
    { "rapidjson.resultats", "1. RapidJSON Document::Parse (UTF-8)", "resultats" },
    { "simdjson.resultats", "1. simdjson DOM", "resultats", "strict.resultats" },
    { "nlohmann.resultats", "1. nlohmann::json::parse", "resultats", "strict.resultats", TSens::AuMoins, 3.0 },
    { "souple.resultats", "2. lenient reader: ParseLenientText, walk, release", "texte", "rapidjson16.resultats",
      TSens::AuPlus, 1.0 },
    { "rapidjson16.resultats", "2. RapidJSON GenericDocument<UTF16<char16_t>>", "texte" },
    { "post.longueur", "3. TClientHttp::Post to text, Content-Length", "resultats", "curl.longueur", TSens::AuPlus,
      1.3 },
    { "curl.longueur", "3. libcurl into memory, Content-Length", "resultats" },
    { "post.flux", "3. TClientHttp::Post to text, no Content-Length", "resultats", "curl.flux", TSens::AuPlus, 1.3 },
    { "curl.flux", "3. libcurl into memory, no Content-Length", "resultats" },
    { "curl.texte", "3. libcurl into memory, Content-Length, then DepuisUtf8", "resultats", "post.longueur" },
    { "ecriture.systeme", "4. result file writer: ANSI encoder, TFichierAtomique", "lignes", "ecriture.table" },
    { "ecriture.table", "4. plain table writer, 1 MiB buffer: write, close", "lignes" },
    { "ecriture.table_fsync", "4. plain table writer, 1 MiB buffer: write, fsync, close", "lignes", "ecriture.table" },
    { "e2e.systeme", "5. Interroger + EnregistrerResultats", "resultats", "e2e.reference", TSens::AuPlus, 1.5 },
    { "e2e.reference", "5. libcurl + simdjson + table writer", "resultats" },
    { "e2e.reference_fsync", "5. libcurl + simdjson + table writer + fsync", "resultats", "e2e.reference" },
    { "centres.systeme", "5. ChargerCentres on the decoded text", "centres", "centres.rapidjson", TSens::AuPlus, 3.0 },
    { "centres.rapidjson", "5. RapidJSON parse + every field read", "centres" },
    { "e2e_centres.systeme", "5. Interroger + ChargerCentres", "centres", "e2e_centres.reference" },
    { "e2e_centres.reference", "5. libcurl + RapidJSON + every field read", "centres" },
};

// Cases whose check values must agree, and cases whose output files must.
const std::vector<std::vector<std::string>> GroupesControle = {
    { "strict.centres", "rapidjson.centres", "simdjson.centres", "nlohmann.centres" },
    { "strict.resultats", "rapidjson.resultats", "simdjson.resultats", "nlohmann.resultats", "souple.resultats",
      "rapidjson16.resultats" },
    { "post.longueur", "curl.longueur", "post.flux", "curl.flux", "curl.texte" },
    { "centres.systeme", "centres.rapidjson", "e2e_centres.systeme", "e2e_centres.reference" },
};
const std::vector<std::string> SortiesIdentiques = { "e2e.systeme",      "e2e.reference",  "e2e.reference_fsync",
                                                     "ecriture.systeme", "ecriture.table", "ecriture.table_fsync" };

// The answer's size on the wire is the yardstick of peak memory.
constexpr double RssMaxParOctetReponse = 4.0;
constexpr double DebitEcritureMin = 600.0; // MB/s of output

std::string Format(const char* modele, double valeur)
{
    char tampon[64];
    std::snprintf(tampon, sizeof tampon, modele, valeur);
    return tampon;
}

std::string Premiere(const std::string& fichier, const std::string& cle)
{
    std::ifstream entree(fichier);
    std::string ligne;
    while (std::getline(entree, ligne)) {
        if (ligne.compare(0, cle.size(), cle) == 0) {
            const std::size_t deuxPoints = ligne.find(':');
            std::size_t debut = ligne.find_first_not_of(" \t", deuxPoints + 1);
            return debut == std::string::npos ? "" : ligne.substr(debut);
        }
    }
    return "?";
}

std::string Charge()
{
    return Premiere("/proc/loadavg", "");
}

std::string Machine()
{
    std::ostringstream texte;
    utsname systeme {};
    uname(&systeme);
    std::string memoire = "?";
    {
        std::ifstream meminfo("/proc/meminfo");
        std::string nom;
        long ko = 0;
        if (meminfo >> nom >> ko)
            memoire = Format("%.1f GB", static_cast<double>(ko) / 1024 / 1024);
    }
    texte << Premiere("/proc/cpuinfo", "model name") << ", " << sysconf(_SC_NPROCESSORS_ONLN) << " cores, " << memoire
          << " RAM, Linux " << systeme.release;
    return texte.str();
}

std::string Date()
{
    const std::time_t maintenant = std::time(nullptr);
    char tampon[64];
    std::strftime(tampon, sizeof tampon, "%Y-%m-%d %H:%M %Z", std::localtime(&maintenant));
    return tampon;
}

std::string Verdict(TSens sens, double mesure, double cible)
{
    if (sens == TSens::AuPlus)
        return mesure <= cible ? "met" : Format("missed by %.0f%%", (mesure / cible - 1) * 100);
    return mesure >= cible ? "met" : Format("missed by %.0f%%", (1 - mesure / cible) * 100);
}

std::string Etapes(const TResultatCas& r)
{
    std::string texte;
    for (const TResultatCas::TEtape& etape : r.etapes) {
        if (!texte.empty())
            texte += ", ";
        texte += etape.nom + " " + Format("%.1f", Mediane(etape.ms));
    }
    return texte;
}

bool FichiersEgaux(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::ifstream fa(a, std::ios::binary);
    std::ifstream fb(b, std::ios::binary);
    std::vector<char> ta(1 << 20);
    std::vector<char> tb(1 << 20);
    while (fa && fb) {
        fa.read(ta.data(), static_cast<std::streamsize>(ta.size()));
        fb.read(tb.data(), static_cast<std::streamsize>(tb.size()));
        if (fa.gcount() != fb.gcount() || !std::equal(ta.begin(), ta.begin() + fa.gcount(), tb.begin()))
            return false;
    }
    return fa.eof() && fb.eof();
}

// Whether the case's name begins with one of the filter's comma-separated
// prefixes; an empty filter keeps every case.
bool Retenu(std::string_view cas, std::string_view filtre)
{
    for (;;) {
        const std::size_t virgule = filtre.find(',');
        const std::string_view prefixe = filtre.substr(0, virgule);
        if (cas.starts_with(prefixe))
            return true;
        if (virgule == std::string_view::npos)
            return false;
        filtre.remove_prefix(virgule + 1);
    }
}

} // namespace

bool ExecuterTableau(const TParametres& parametresDonnes, std::string_view filtre, std::ostream& sortie)
{
    TParametres parametres = parametresDonnes;
    // Generated by a process of its own, so that this one never holds them.
    if (const std::string erreur = ExecuterCommande("generer", parametres); !erreur.empty())
        throw std::runtime_error("generating the inputs: " + erreur);
    const double octetsResultats = static_cast<double>(std::filesystem::file_size(FichierResultats(parametres)));
    const double octetsCentres = static_cast<double>(std::filesystem::file_size(FichierCentres(parametres)));
    const std::string chargeAvant = Charge();

    std::map<std::string, TResultatCas> resultats;
    {
        TServeurBench serveur(FichierResultats(parametres), FichierCentres(parametres));
        parametres.port = serveur.Port();
        for (const TRangee& rangee : Rangees) {
            if (!Retenu(rangee.cas, filtre))
                continue;
            std::cerr << "  " << rangee.cas << "..." << std::flush;
            TResultatCas r = ExecuterCas(rangee.cas, parametres);
            std::cerr << (r.reussi ? Format(" %.1f ms", r.Mediane()) : " FAILED: " + r.erreur) << '\n';
            resultats.emplace(rangee.cas, std::move(r));
        }
    }
    const std::string chargeApres = Charge();

    bool toutBon = true;
    auto trouver = [&](const char* nom) -> const TResultatCas* {
        const auto it = nom == nullptr ? resultats.end() : resultats.find(nom);
        return it == resultats.end() || !it->second.reussi ? nullptr : &it->second;
    };

    const double moResultats = octetsResultats / 1e6;
    sortie << "Date: " << Date() << "  \n";
    sortie << "Machine: " << Machine() << "  \n";
    sortie << "Load average (1, 5, 15 min, runnable/total): before " << chargeAvant << ", after " << chargeApres
           << "  \n";
    sortie << "Inputs: statistics answer of " << parametres.lignes << " lines, " << Format("%.1f", moResultats)
           << " MB of UTF-8 JSON; centre list of " << parametres.centres << " centres, "
           << Format("%.1f", octetsCentres / 1e6) << " MB. " << parametres.repetitions
           << " runs per case, each case in a process of its own.\n\n";

    sortie << "| Case | min ms | median ms | peak RSS MB | ratio (median) | target | verdict |\n";
    sortie << "|---|---:|---:|---:|---|---|---|\n";
    struct TCible {
        std::string texte;
        std::string mesure;
        std::string verdict;
        std::string processeur; // the same ratio on processor time, less sensitive to other loads
    };
    std::vector<TCible> cibles;
    for (const TRangee& rangee : Rangees) {
        const TResultatCas* r = trouver(rangee.cas);
        if (resultats.find(rangee.cas) == resultats.end())
            continue;
        if (r == nullptr) {
            sortie << "| " << rangee.libelle << " | failed: " << resultats[rangee.cas].erreur << " | | | | | |\n";
            toutBon = false;
            continue;
        }
        std::string rapport;
        std::string cible;
        std::string verdict;
        if (const TResultatCas* pair = trouver(rangee.pair)) {
            const double ratio = r->Mediane() / pair->Mediane();
            rapport = Format("%.2f", ratio) + "x " + pair->nom;
            if (rangee.sens != TSens::Info) {
                cible = (rangee.sens == TSens::AuPlus ? "<= " : ">= ") + Format("%.1f", rangee.cible) + "x";
                verdict = Verdict(rangee.sens, ratio, rangee.cible);
                cibles.push_back({ std::string(rangee.cas) + " / " + pair->nom + " " + cible, Format("%.2fx", ratio),
                                   verdict, Format("%.2fx", Mediane(r->cpuMs) / Mediane(pair->cpuMs)) });
            }
        }
        if (std::string_view(rangee.cas) == "ecriture.systeme") {
            const double octets = std::stod(r->controle.substr(r->controle.find('=') + 1));
            const double debit = octets / 1e6 / (r->Mediane() / 1e3);
            cible = Format(">= %.0f MB/s", DebitEcritureMin);
            verdict = Verdict(TSens::AuMoins, debit, DebitEcritureMin);
            rapport = Format("%.0f MB/s", debit) + (rapport.empty() ? "" : "; " + rapport);
            cibles.push_back({ "ecriture.systeme output rate " + cible, Format("%.0f MB/s", debit), verdict,
                               Format("%.0f MB/s", octets / 1e6 / (Mediane(r->cpuMs) / 1e3)) });
        }
        if (std::string_view(rangee.cas) == "e2e.systeme") {
            const double plafond = RssMaxParOctetReponse * moResultats;
            cibles.push_back({ "e2e.systeme peak RSS <= 4x answer (" + Format("%.0f MB", plafond) + ")",
                               Format("%.0f MB", r->rssPicMo), Verdict(TSens::AuPlus, r->rssPicMo, plafond), "" });
            verdict += (verdict.empty() ? "" : "; RSS ") + cibles.back().verdict;
            cible += "; RSS <= " + Format("%.0f MB", plafond);
        }
        sortie << "| " << rangee.libelle << " | " << Format("%.1f", r->Min()) << " | " << Format("%.1f", r->Mediane())
               << " | " << Format("%.0f", r->rssPicMo) << " | " << rapport << " | " << cible << " | " << verdict
               << " |\n";
    }

    sortie << "\nSteps (median ms), processor time of the case's process (median ms; the server's is not"
              " counted), memory held before the first run:\n\n";
    sortie << "| Case | steps | cpu ms | input held MB | check |\n|---|---|---:|---:|---|\n";
    for (const TRangee& rangee : Rangees) {
        if (const TResultatCas* r = trouver(rangee.cas))
            sortie << "| " << r->nom << " | " << Etapes(*r) << " | " << Format("%.1f", Mediane(r->cpuMs)) << " | "
                   << Format("%.0f", r->entreeMo) << " | " << r->controle << " |\n";
    }

    sortie << "\nTargets (medians; the last column gives the same figure on processor time):\n\n"
              "| Target | measured | verdict | on processor time |\n|---|---:|---|---:|\n";
    for (const TCible& c : cibles)
        sortie << "| " << c.texte << " | " << c.mesure << " | " << c.verdict << " | " << c.processeur << " |\n";

    sortie << "\nChecks:\n\n";
    for (const std::vector<std::string>& groupe : GroupesControle) {
        const TResultatCas* premier = nullptr;
        bool accord = true;
        std::size_t presents = 0;
        for (const std::string& nom : groupe) {
            const TResultatCas* r = trouver(nom.c_str());
            if (r == nullptr)
                continue;
            ++presents;
            if (premier == nullptr)
                premier = r;
            else if (r->controle != premier->controle)
                accord = false;
        }
        if (presents > 1) {
            sortie << "- " << (accord ? "agree" : "DISAGREE") << ": " << groupe.front() << " and the " << presents - 1
                   << " others of its group (" << premier->controle << ")\n";
            toutBon = toutBon && accord;
        }
    }
    const TResultatCas* modele = nullptr;
    std::size_t comparees = 0;
    bool identiques = true;
    for (const std::string& nom : SortiesIdentiques) {
        if (trouver(nom.c_str()) == nullptr)
            continue;
        if (modele == nullptr) {
            modele = trouver(nom.c_str());
            continue;
        }
        ++comparees;
        identiques =
            identiques && FichiersEgaux(FichierSortie(parametres, modele->nom), FichierSortie(parametres, nom));
    }
    if (comparees > 0) {
        sortie << "- " << (identiques ? "identical" : "DIFFERENT") << ": the result files of " << modele->nom
               << " and the " << comparees << " other writers\n";
        toutBon = toutBon && identiques;
    }
    return toutBon;
}

} // namespace tq::bench
