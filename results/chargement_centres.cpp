#include "results/chargement_centres.h"

#include <cstdint>
#include <iterator>
#include <string>

#include "json/strict/document_strict.h"
#include "platform/encodage_ansi.h"
#include "results/erreurs_resultats.h"
#include "results/lecture_entier.h"

namespace tq {

namespace {

namespace js = json_strict;

// The sixteen keys of a centre, in the order they are read, each with the
// field it fills: an integer field or a text field.
struct TCle {
    std::u16string_view nom;
    std::int32_t TEnr_Centre::*entier;
    std::u16string TEnr_Centre::*texte;
};

constexpr TCle Cles[] = {
    { u"id", &TEnr_Centre::ID, nullptr },
    { u"codeMorva", &TEnr_Centre::codeMorva, nullptr },
    { u"codeTq", nullptr, &TEnr_Centre::codeTq },
    { u"zone", &TEnr_Centre::zone, nullptr },
    { u"enseigne", nullptr, &TEnr_Centre::enseigne },
    { u"societe", nullptr, &TEnr_Centre::societe },
    { u"adresse1", nullptr, &TEnr_Centre::adresse1 },
    { u"adresse2", nullptr, &TEnr_Centre::adresse2 },
    { u"codePostal", nullptr, &TEnr_Centre::codePostal },
    { u"ville", nullptr, &TEnr_Centre::ville },
    { u"pays", nullptr, &TEnr_Centre::pays },
    { u"responsable", nullptr, &TEnr_Centre::responsable },
    { u"siren", nullptr, &TEnr_Centre::siren },
    { u"numeroTva", nullptr, &TEnr_Centre::numeroTva },
    { u"adresseIp", nullptr, &TEnr_Centre::adresseIp },
    { u"dateCreation", nullptr, &TEnr_Centre::dateCreation },
};

constexpr std::size_t NombreCles = std::size(Cles);

bool EstAscii(std::u16string_view texte) noexcept
{
    for (char16_t c : texte)
        if (c > 0x7F)
            return false;
    return true;
}

// A text of a centre as the directory keeps it. The answer was reduced to
// 7-bit ASCII before it was read, so only characters that came in as "\u"
// escapes can lie beyond it; they are reduced the same way, each string on
// its own, as the centre's JSON text written back and reduced again would
// have them.
std::u16string TexteReduit(std::u16string_view texte)
{
    if (EstAscii(texte))
        return std::u16string(texte);
    const std::string reduit = ReductionAscii(texte);
    return { reduit.begin(), reduit.end() };
}

// The place in Cles of the key that this name gives once reduced, or
// NombreCles for a name that is no key. Names mostly come in the order of
// Cles, so the key at the pair's own place is tried first.
std::size_t IndiceCle(std::u16string_view nom, std::size_t rang)
{
    std::u16string reduit;
    if (!EstAscii(nom)) {
        reduit = TexteReduit(nom);
        nom = reduit;
    }
    if (rang < NombreCles && Cles[rang].nom == nom)
        return rang;
    for (std::size_t i = 0; i < NombreCles; ++i)
        if (Cles[i].nom == nom)
            return i;
    return NombreCles;
}

// Fills the fields whose keys the object holds, in key order, so that a
// failure on one key leaves the fields before it filled. Of pairs whose
// names give the same key, the first one counts.
void LireCentre(const js::TValeur& objet, TEnr_Centre& centre, char16_t separateurDecimal)
{
    const js::TValeur* valeurs[NombreCles] = {};
    for (std::size_t i = 0, n = js::PairCount(objet); i < n; ++i) {
        const js::TPaire* paire = js::PairAt(objet, static_cast<std::ptrdiff_t>(i));
        const std::size_t cle = IndiceCle(js::PairName(*paire), i);
        if (cle < NombreCles && valeurs[cle] == nullptr)
            valeurs[cle] = &js::PairValue(*paire);
    }
    for (std::size_t k = 0; k < NombreCles; ++k) {
        const js::TValeur* valeur = valeurs[k];
        if (valeur == nullptr)
            continue;
        std::u16string texte = js::ValueKind(*valeur) == js::TTypeValeur::Chaine
                                 ? TexteReduit(js::StringView(*valeur))
                                 : js::ValueText(*valeur, separateurDecimal);
        if (Cles[k].entier != nullptr)
            centre.*Cles[k].entier = EntierOuZero(texte);
        else
            centre.*Cles[k].texte = std::move(texte);
    }
}

} // namespace

void ChargerCentres(std::u16string_view reponse, std::vector<TEnr_Centre>& centres, const TReglagesRegionaux& reglages)
{
    centres.clear();
    // A UTF-8 answer may begin with a byte-order mark, which its decoding
    // keeps as U+FEFF. It marks the encoding and is no character of the text:
    // reduced to "?", it would make the whole answer unreadable.
    if (reponse.starts_with(u'\uFEFF'))
        reponse.remove_prefix(1);
    const std::optional<js::TDocument> document = js::ParseDocument(ReductionAscii(reponse), 0);
    if (!document)
        return;
    const js::TValeur& racine = document->Racine();
    if (js::ValueKind(racine) != js::TTypeValeur::Objet)
        throw ErreurTranstypage();
    const js::TPaire* paireCentres = js::FindPair(racine, u"centres");
    if (paireCentres == nullptr)
        return;
    // Any other kind than an array counts no elements, as null does.
    const js::TValeur& tableau = js::PairValue(*paireCentres);
    const std::size_t nombre = js::ElementCount(tableau);
    centres.resize(nombre);
    for (std::size_t i = 0; i < nombre; ++i) {
        const js::TValeur& element = *js::ElementAt(tableau, static_cast<std::ptrdiff_t>(i));
        if (js::ValueKind(element) != js::TTypeValeur::Objet)
            throw ErreurTranstypage();
        LireCentre(element, centres[i], reglages.separateurDecimal);
    }
}

} // namespace tq
