// The result file writer: a million lines already read, turned into
// Windows-1252 with CR LF and put on disk, against a plain table writer.

#include <string>

#include "bench/cas.h"
#include "bench/donnees.h"
#include "bench/ecrivain_table.h"
#include "bench/lignes_resultats.h"
#include "results/fichier_atomique.h"
#include "results/ligne_resultat.h"

namespace tq::bench {

namespace {

namespace jl = json_souple;

std::string ControleSortie(std::size_t octets)
{
    return "octets=" + std::to_string(octets);
}

// The writer of the result files as the system runs it: each line converted
// by the very function the system uses into a reused buffer, which goes to
// the temporary file a megabyte at a time; then flush and rename.
void EcritureSysteme(const TParametres& parametres, TMesure& mesure)
{
    constexpr std::size_t TaillePiece = std::size_t { 1 } << 20;
    const TLignesResultats entree = LireLignesResultats(parametres);
    const std::filesystem::path chemin = FichierSortie(parametres, "ecriture.systeme");
    std::string piece;
    piece.reserve(2 * TaillePiece);
    mesure.Repeter([&] {
        TFichierAtomique fichier(chemin);
        for (const jl::TValeurSouple& ligne : entree.lignes) {
            AjouterLigneResultat(piece, ligne.Texte());
            if (piece.size() >= TaillePiece) {
                fichier.Ajouter(piece);
                piece.clear();
            }
        }
        fichier.Ajouter(piece);
        piece.clear();
        fichier.Valider();
        mesure.Etape("TFichierAtomique");
    });
    mesure.Controle(ControleSortie(std::filesystem::file_size(chemin)));
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
    cas.push_back(
        { "ecriture.table",
          [](const TParametres& p, TMesure& m) { EcritureTable(p, m, "ecriture.table", TSynchronisation::Aucune); } });
    cas.push_back({ "ecriture.table_fsync", [](const TParametres& p, TMesure& m) {
                       EcritureTable(p, m, "ecriture.table_fsync", TSynchronisation::Disque);
                   } });
}

} // namespace tq::bench
