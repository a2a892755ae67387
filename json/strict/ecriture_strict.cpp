#include "json/strict/document_strict.h"

#include "json/strict/stockage_document.h"

namespace tq::json_strict {

namespace {

using A = TAccesInterne;

void EcrireChaine(std::u16string_view texte, std::u16string& sortie)
{
    sortie += u'"';
    std::size_t debut = 0;
    for (std::size_t i = 0; i < texte.size(); ++i) {
        if (texte[i] == u'"' || texte[i] == u'\\') {
            sortie.append(texte, debut, i - debut);
            sortie += u'\\';
            debut = i;
        }
    }
    sortie.append(texte, debut);
    sortie += u'"';
}

// Recursive: a tree comes only from the reader, which refuses nesting deeper
// than 512 levels, so the depth here is bounded too.
void Ecrire(const TValeur& valeur, std::u16string& sortie)
{
    switch (A::Type(valeur)) {
    case TTypeValeur::Objet: {
        sortie += u'{';
        const TPaire* paires = A::Paires(valeur);
        for (std::size_t i = 0, n = A::Taille(valeur); i < n; ++i) {
            if (i != 0)
                sortie += u',';
            EcrireChaine(A::Texte(A::Nom(paires[i])), sortie);
            sortie += u':';
            Ecrire(A::ValeurDe(paires[i]), sortie);
        }
        sortie += u'}';
        break;
    }
    case TTypeValeur::Tableau: {
        sortie += u'[';
        const TValeur* elements = A::Elements(valeur);
        for (std::size_t i = 0, n = A::Taille(valeur); i < n; ++i) {
            if (i != 0)
                sortie += u',';
            Ecrire(elements[i], sortie);
        }
        sortie += u']';
        break;
    }
    case TTypeValeur::Chaine:
        EcrireChaine(A::Texte(valeur), sortie);
        break;
    case TTypeValeur::Nombre:
        sortie += A::Texte(valeur);
        break;
    case TTypeValeur::Vrai:
        sortie += u"true";
        break;
    case TTypeValeur::Faux:
        sortie += u"false";
        break;
    case TTypeValeur::Nul:
        sortie += u"null";
        break;
    }
}

} // namespace

std::u16string ToJsonText(const TValeur& valeur)
{
    std::u16string sortie;
    Ecrire(valeur, sortie);
    return sortie;
}

} // namespace tq::json_strict
