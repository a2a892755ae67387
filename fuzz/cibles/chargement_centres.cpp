// Arbitrary answer text through the centre directory load. The load either
// ends normally or fails with one of its two documented failures: "Transtypage
// de classe incorrect", or a number that is not a correct integer. Whatever
// the ending, every text in the directory is 7-bit ASCII, no entry has its
// flag set, and the directory holds as many entries as the answer's
// "centres" array has elements (none when it is missing or not an array).
// The directory and the failure are also those of a plain model of the load
// that writes each centre back to JSON, reduces it and parses it again.
//
// Byte 0 of an input chooses how the rest becomes text (bit 0: UTF-16 little
// endian code units, else UTF-8) and the decimal separator (bit 1: ",").
#include "json/strict/document_strict.h"
#include "platform/encodage_ansi.h"
#include "platform/erreur.h"
#include "platform/reglages_regionaux.h"
#include "platform/texte_utf.h"
#include "results/chargement_centres.h"
#include "results/erreurs_resultats.h"
#include "results/lecture_entier.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Verifier(bool condition)
{
    if (!condition)
        std::abort();
}

bool Ascii7(std::u16string_view texte)
{
    for (char16_t c : texte)
        if (c > 0x7F)
            return false;
    return true;
}

// "'<number>' n'est pas une valeur entière correcte", the number being JSON
// number characters.
bool EchecNombre(std::string_view message)
{
    constexpr std::string_view Fin = "' n'est pas une valeur entière correcte";
    if (message.size() < 1 + Fin.size() || message.front() != '\'' || !message.ends_with(Fin))
        return false;
    const std::string_view nombre = message.substr(1, message.size() - 1 - Fin.size());
    if (nombre.empty())
        return false;
    for (char c : nombre)
        if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'))
            return false;
    return true;
}

// Elements of the answer's "centres" array, read on our own.
std::size_t NombreAttendu(std::u16string_view reponse)
{
    namespace js = tq::json_strict;
    const auto document = js::ParseDocument(tq::ReductionAscii(reponse), 0);
    if (!document || js::ValueKind(document->Racine()) != js::TTypeValeur::Objet)
        return 0;
    const js::TPaire* centres = js::FindPair(document->Racine(), u"centres");
    return centres == nullptr ? 0 : js::ElementCount(js::PairValue(*centres));
}

namespace js = tq::json_strict;

// The model: each centre written back to JSON, reduced to ASCII and parsed
// once more, then each key looked up on its own, in key order.
struct TCleModele {
    std::u16string_view nom;
    std::int32_t tq::TEnr_Centre::*entier;
    std::u16string tq::TEnr_Centre::*texte;
};

constexpr TCleModele ClesModele[] = {
    { u"id", &tq::TEnr_Centre::ID, nullptr },
    { u"codeMorva", &tq::TEnr_Centre::codeMorva, nullptr },
    { u"codeTq", nullptr, &tq::TEnr_Centre::codeTq },
    { u"zone", &tq::TEnr_Centre::zone, nullptr },
    { u"enseigne", nullptr, &tq::TEnr_Centre::enseigne },
    { u"societe", nullptr, &tq::TEnr_Centre::societe },
    { u"adresse1", nullptr, &tq::TEnr_Centre::adresse1 },
    { u"adresse2", nullptr, &tq::TEnr_Centre::adresse2 },
    { u"codePostal", nullptr, &tq::TEnr_Centre::codePostal },
    { u"ville", nullptr, &tq::TEnr_Centre::ville },
    { u"pays", nullptr, &tq::TEnr_Centre::pays },
    { u"responsable", nullptr, &tq::TEnr_Centre::responsable },
    { u"siren", nullptr, &tq::TEnr_Centre::siren },
    { u"numeroTva", nullptr, &tq::TEnr_Centre::numeroTva },
    { u"adresseIp", nullptr, &tq::TEnr_Centre::adresseIp },
    { u"dateCreation", nullptr, &tq::TEnr_Centre::dateCreation },
};

// The model's directory, and the message of its failure ("" for none).
std::string ChargerModele(std::u16string_view reponse, std::vector<tq::TEnr_Centre>& centres, char16_t separateur)
{
    centres.clear();
    if (reponse.starts_with(u'\uFEFF'))
        reponse.remove_prefix(1);
    try {
        const auto document = js::ParseDocument(tq::ReductionAscii(reponse), 0);
        if (!document)
            return "";
        if (js::ValueKind(document->Racine()) != js::TTypeValeur::Objet)
            throw tq::ErreurTranstypage();
        const js::TPaire* paire = js::FindPair(document->Racine(), u"centres");
        if (paire == nullptr)
            return "";
        const std::size_t nombre = js::ElementCount(js::PairValue(*paire));
        centres.resize(nombre);
        for (std::size_t i = 0; i < nombre; ++i) {
            const js::TValeur* element = js::ElementAt(js::PairValue(*paire), static_cast<std::ptrdiff_t>(i));
            const auto centre = js::ParseDocument(tq::ReductionAscii(js::ToJsonText(*element)), 0);
            Verifier(centre.has_value());
            if (js::ValueKind(centre->Racine()) != js::TTypeValeur::Objet)
                throw tq::ErreurTranstypage();
            for (const TCleModele& cle : ClesModele) {
                const js::TPaire* champ = js::FindPair(centre->Racine(), cle.nom);
                if (champ == nullptr)
                    continue;
                std::u16string texte = js::ValueText(js::PairValue(*champ), separateur);
                if (cle.entier != nullptr)
                    centres[i].*cle.entier = tq::EntierOuZero(texte);
                else
                    centres[i].*cle.texte = std::move(texte);
            }
        }
    } catch (const tq::Erreur& e) {
        return e.what();
    }
    return "";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    if (taille == 0)
        return 0;
    const std::string_view octets(reinterpret_cast<const char*>(donnees) + 1, taille - 1);
    std::u16string reponse;
    if ((donnees[0] & 1u) != 0) {
        for (std::size_t i = 0; i + 1 < octets.size(); i += 2)
            reponse.push_back(static_cast<char16_t>(static_cast<unsigned char>(octets[i])
                                                    | static_cast<unsigned char>(octets[i + 1]) << 8));
    } else {
        reponse = tq::DepuisUtf8(octets);
    }
    tq::TReglagesRegionaux reglages;
    reglages.separateurDecimal = (donnees[0] & 2u) != 0 ? u',' : u'.';

    // A directory that holds an entry of an earlier load; its text is not
    // ASCII, so an entry left over would show below.
    std::vector<tq::TEnr_Centre> centres(3);
    centres[0].enseigne = u"d\u00E9j\u00E0 l\u00E0";
    bool echec = false;
    std::string message;
    try {
        tq::ChargerCentres(reponse, centres, reglages);
    } catch (const tq::ErreurTranstypage& e) {
        Verifier(std::string_view(e.what()) == "Transtypage de classe incorrect");
        echec = true;
        message = e.what();
    } catch (const tq::Erreur& e) {
        Verifier(EchecNombre(e.what()));
        echec = true;
        message = e.what();
    }
    std::vector<tq::TEnr_Centre> modele;
    Verifier(ChargerModele(reponse, modele, reglages.separateurDecimal) == message);
    Verifier(centres == modele);
    if (!echec)
        Verifier(centres.size() == NombreAttendu(reponse));
    else
        Verifier(centres.empty() || centres.size() == NombreAttendu(reponse));
    for (const tq::TEnr_Centre& c : centres) {
        Verifier(!c.Modification);
        for (const std::u16string* texte :
             { &c.codeTq, &c.enseigne, &c.societe, &c.adresse1, &c.adresse2, &c.codePostal, &c.ville, &c.pays,
               &c.responsable, &c.siren, &c.numeroTva, &c.adresseIp, &c.dateCreation })
            Verifier(Ascii7(*texte));
    }
    return 0;
}
