// The result file writer: a million lines already read, turned into
// Windows-1252 with CR LF and put on disk, against a plain table writer.

#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "bench/cas.h"
#include "bench/donnees.h"
#include "bench/ecrivain_table.h"
#include "bench/lignes_resultats.h"
#include "platform/encodage_ansi.h"
#include "platform/grand_tampon.h"
#include "results/ecriture_fichier.h"

namespace tq::bench {

namespace {

namespace jl = json_souple;

// The writer of the result files as the system builds a file: each line
// converted by the ANSI encoder straight into one buffer, the pieces between
// the backslash-quote pairs one after the other, then CR LF; the buffer
// then goes to disk whole. The table checks that this gives the very bytes
// of EnregistrerResultats.
std::size_t ProchaineBarre(std::u16string_view ligne, std::size_t debut)
{
#if defined(__SSE2__)
    const __m128i barre = _mm_set1_epi16(u'\\');
    for (; debut + 8 <= ligne.size(); debut += 8) {
        const __m128i unites = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ligne.data() + debut));
        const unsigned masque = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(unites, barre)));
        if (masque != 0)
            return debut + static_cast<std::size_t>(__builtin_ctz(masque)) / 2;
    }
#endif
    while (debut < ligne.size() && ligne[debut] != u'\\')
        ++debut;
    return debut;
}

void AjouterLigneSysteme(std::string& contenu, std::u16string_view ligne)
{
    std::size_t debut = 0;
    std::size_t barre = ProchaineBarre(ligne, 0);
    while (barre < ligne.size()) {
        if (barre + 1 < ligne.size() && ligne[barre + 1] == u'"') {
            AjouterEnAnsi(contenu, ligne.substr(debut, barre - debut));
            debut = barre + 1;
            barre = ProchaineBarre(ligne, barre + 2);
        } else {
            barre = ProchaineBarre(ligne, barre + 1);
        }
    }
    AjouterEnAnsi(contenu, ligne.substr(debut));
    contenu += "\r\n";
}

std::string ControleSortie(std::size_t octets) { return "octets=" + std::to_string(octets); }

void EcritureSysteme(const TParametres& parametres, TMesure& mesure)
{
    const TLignesResultats entree = LireLignesResultats(parametres);
    const std::filesystem::path chemin = FichierSortie(parametres, "ecriture.systeme");
    std::size_t octets = 0;
    mesure.Repeter([&] {
        std::string contenu;
        ReserverGrandTampon(contenu, entree.texte.size());
        for (const jl::TValeurSouple& ligne : entree.lignes)
            AjouterLigneSysteme(contenu, ligne.Texte());
        mesure.Etape("contenu");
        EcrireFichierEntier(chemin, contenu);
        mesure.Etape("EcrireFichierEntier");
        octets = contenu.size();
        contenu = {};
        mesure.Etape("liberation");
    });
    mesure.Controle(ControleSortie(octets));
}

void EcritureTable(const TParametres& parametres, TMesure& mesure, std::string_view nom, TSynchronisation synchro)
{
    const TLignesResultats entree = LireLignesResultats(parametres);
    const TEcrivainTable table;
    const std::filesystem::path chemin = FichierSortie(parametres, nom);
    std::size_t octets = 0;
    mesure.Repeter([&] {
        TFichierFlux fichier(chemin, synchro);
        for (const jl::TValeurSouple& ligne : entree.lignes)
            fichier.Ajouter(table, ligne.Texte());
        octets = fichier.Fermer();
        mesure.Etape("fichier");
    });
    mesure.Controle(ControleSortie(octets));
}

} // namespace

void AjouterCasEcriture(std::vector<TCas>& cas)
{
    cas.push_back({ "ecriture.systeme", EcritureSysteme });
    cas.push_back({ "ecriture.table", [](const TParametres& p, TMesure& m) {
                       EcritureTable(p, m, "ecriture.table", TSynchronisation::Aucune);
                   } });
    cas.push_back({ "ecriture.table_fsync", [](const TParametres& p, TMesure& m) {
                       EcritureTable(p, m, "ecriture.table_fsync", TSynchronisation::Disque);
                   } });
}

} // namespace tq::bench
