#include "results/chargement_centres.h"

#include <cstdint>

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

// Fills the fields whose keys the object holds, in key order, so that a
// failure on one key leaves the fields before it filled.
void LireCentre(const js::TValeur& objet, TEnr_Centre& centre, char16_t separateurDecimal)
{
    for (const TCle& cle : Cles) {
        const js::TPaire* paire = js::FindPair(objet, cle.nom);
        if (paire == nullptr)
            continue;
        std::u16string texte = js::ValueText(js::PairValue(*paire), separateurDecimal);
        if (cle.entier != nullptr)
            centre.*cle.entier = EntierOuZero(texte);
        else
            centre.*cle.texte = std::move(texte);
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
        const js::TValeur* element = js::ElementAt(tableau, static_cast<std::ptrdiff_t>(i));
        if (element == nullptr)
            continue;
        // The centre is read from its own text, written back and reduced once
        // more, so characters that came in as "\u" escapes are reduced too.
        const std::optional<js::TDocument> centre = js::ParseDocument(ReductionAscii(js::ToJsonText(*element)), 0);
        if (!centre)
            continue;
        if (js::ValueKind(centre->Racine()) != js::TTypeValeur::Objet)
            throw ErreurTranstypage();
        LireCentre(centre->Racine(), centres[i], reglages.separateurDecimal);
    }
}

} // namespace tq
