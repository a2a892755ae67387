#include "server/requete_centres.h"

#include "server/ecriture_json.h"

namespace tq {

namespace {

enum class TGenreCle { Entier, Texte };

struct TCle {
    const char16_t* nom;
    TGenreCle genre;
};

// In the order of the columns selected below.
constexpr TCle cles[] = {
    { u"id", TGenreCle::Entier },          { u"codeMorva", TGenreCle::Entier }, { u"codeTq", TGenreCle::Texte },
    { u"zone", TGenreCle::Entier },        { u"enseigne", TGenreCle::Texte },   { u"societe", TGenreCle::Texte },
    { u"adresse1", TGenreCle::Texte },     { u"adresse2", TGenreCle::Texte },   { u"codePostal", TGenreCle::Texte },
    { u"ville", TGenreCle::Texte },        { u"pays", TGenreCle::Texte },       { u"responsable", TGenreCle::Texte },
    { u"siren", TGenreCle::Texte },        { u"numeroTva", TGenreCle::Texte },  { u"adresseIp", TGenreCle::Texte },
    { u"dateCreation", TGenreCle::Texte },
};

constexpr const char* selection = "SELECT id, code_morva, code_tq, zone, enseigne, societe, adresse1, adresse2, "
                                  "code_postal, ville, pays, responsable, siren, numero_tva, adresse_ip, "
                                  "date_creation FROM centre ORDER BY id";

} // namespace

std::string ReponseListeCentres(TBase& base)
{
    TInstruction instruction(base, selection);
    TEcrivainJson json;
    json.DebutObjet();
    json.Nom(u"centres");
    json.DebutTableau();
    while (instruction.Etape()) {
        json.DebutObjet();
        for (int colonne = 0; colonne < static_cast<int>(std::size(cles)); ++colonne) {
            json.Nom(cles[colonne].nom);
            if (cles[colonne].genre == TGenreCle::Entier)
                json.Entier(instruction.Entier(colonne));
            else
                json.Texte(instruction.Texte(colonne));
        }
        json.FinObjet();
    }
    json.FinTableau();
    json.FinObjet();
    return json.Json();
}

} // namespace tq
