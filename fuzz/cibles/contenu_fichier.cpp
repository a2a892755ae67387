// Arbitrary answer text through the collection of result lines. An answer
// the lenient reader rejects is the one failure, and only then; any other
// answer gives exactly the bytes built here from the public reader (after
// one leading byte-order mark, which is skipped): each
// element's text, each backslash-quote pair made a lone quote (left to
// right, never searching a replacement again), in the ANSI code page, CR LF
// after every line. The lines are taken in pieces, as the save takes them:
// each piece whole lines, none short of the size asked for but the last.
//
// Byte 0 of an input chooses how the rest becomes text: bit 0 for UTF-16
// little endian code units, else UTF-8; its other bits, the pieces' size.
#include "json/souple/valeur_souple.h"
#include "platform/encodage_ansi.h"
#include "platform/texte_utf.h"
#include "results/contenu_fichier.h"
#include "results/erreurs_resultats.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

namespace js = tq::json_souple;

void Verifier(bool condition)
{
    if (!condition)
        std::abort();
}

std::u16string SansBarresDevantGuillemets(std::u16string_view ligne)
{
    std::u16string resultat;
    for (std::size_t i = 0; i < ligne.size(); ++i) {
        if (ligne[i] == u'\\' && i + 1 < ligne.size() && ligne[i + 1] == u'"')
            continue; // the quote is copied on the next turn and never looked at again as a pair's end
        resultat.push_back(ligne[i]);
    }
    return resultat;
}

std::optional<std::string> Attendu(std::u16string_view reponse)
{
    if (reponse.starts_with(u'\uFEFF'))
        reponse.remove_prefix(1); // one leading byte-order mark is not part of the answer
    const std::optional<js::TDocumentSouple> document = js::ParseLenientText(reponse);
    if (!document)
        return std::nullopt;
    std::string contenu;
    const js::TValeurSouple* resultats = js::MemberByName(document->Racine(), u"resultats");
    if (resultats == nullptr)
        return contenu;
    for (const js::TValeurSouple& element : js::EnumerateElements(*resultats)) {
        std::u16string texte;
        js::AsText(element, texte);
        contenu += tq::VersAnsi(SansBarresDevantGuillemets(texte)) + "\r\n";
    }
    return contenu;
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

    const std::size_t piece = static_cast<std::size_t>(donnees[0] >> 1) * 8;
    const std::optional<std::string> attendu = Attendu(reponse);
    try {
        tq::TLignesResultats lignes(reponse);
        Verifier(attendu.has_value());
        std::string contenu;
        std::string morceau;
        while (!lignes.Finies()) {
            morceau.clear();
            lignes.AjouterSuivantes(morceau, piece);
            Verifier(morceau.size() >= piece || lignes.Finies());
            Verifier(morceau.ends_with("\r\n"));
            contenu += morceau;
        }
        Verifier(contenu == *attendu);
    } catch (const tq::ErreurReponseIllisible&) {
        Verifier(!attendu.has_value());
    }
    return 0;
}
