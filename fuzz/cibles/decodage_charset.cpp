// An answer body with a charset name and a media type, all taken from the
// input, decoded to text. Decoding never fails; each decoder of our own is
// checked against its plain definition (the UTF-8 decoder on each of its
// paths against the library's), and the pieces in which code pages go
// through the conversion library against the library's one-shot conversion.
//
// Layout of an input: byte 0 is the charset name's length (low 5 bits) or,
// with bit 7 set, picks a registered name by the next byte; byte 1 is the
// media type's length (low 6 bits); then the name, the media type, the body.
#include "platform/charsets_enregistres.h"
#include "platform/chemin_utf8.h"
#include "platform/conversion_plateforme.h"
#include "platform/decodage_charset.h"
#include "platform/registre_charsets.h"

#include <unicode/ucnv.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Verifier(bool condition)
{
    if (!condition)
        std::abort();
}

std::string_view Prendre(std::string_view& reste, std::size_t n)
{
    n = std::min(n, reste.size());
    const std::string_view debut = reste.substr(0, n);
    reste.remove_prefix(n);
    return debut;
}

// The library's own conversion of the whole body in one call.
std::u16string ConversionBibliotheque(std::string_view nomConvertisseur, std::string_view octets)
{
    UErrorCode statut = U_ZERO_ERROR;
    UConverter* convertisseur = ucnv_open(std::string(nomConvertisseur).c_str(), &statut);
    Verifier(U_SUCCESS(statut));
    const auto longueur = static_cast<int32_t>(octets.size());
    const int32_t n = ucnv_toUChars(convertisseur, nullptr, 0, octets.data(), longueur, &statut);
    Verifier(statut == U_BUFFER_OVERFLOW_ERROR || statut == U_STRING_NOT_TERMINATED_WARNING || U_SUCCESS(statut));
    // One unit more than needed, so that the library can end the text.
    std::u16string texte(static_cast<std::size_t>(n) + 1, u'\0');
    statut = U_ZERO_ERROR;
    ucnv_toUChars(convertisseur, reinterpret_cast<UChar*>(texte.data()), n + 1, octets.data(), longueur, &statut);
    ucnv_close(convertisseur);
    Verifier(U_SUCCESS(statut));
    texte.resize(static_cast<std::size_t>(n));
    return texte;
}

void VerifierCodePage(std::string_view corps, int codePage)
{
    const std::u16string texte = tq::DecoderCodePage(corps, codePage);
    switch (codePage) {
    case tq::CodePageAucun:
    case tq::CodePageLatin1:
        Verifier(texte.size() == corps.size());
        for (std::size_t i = 0; i < corps.size(); ++i)
            Verifier(texte[i] == static_cast<unsigned char>(corps[i]));
        return;
    case tq::CodePageUsAscii:
    case tq::CodePageOem437:
    case tq::CodePageWindows1252:
        Verifier(texte.size() == corps.size());
        for (std::size_t i = 0; i < corps.size(); ++i) {
            const auto b = static_cast<unsigned char>(corps[i]);
            Verifier(texte[i] == (b < 0x80 ? char16_t(b) : u'\uFFFD'));
        }
        return;
    case tq::CodePageUtf16Le:
    case tq::CodePageUtf16Be: {
        const bool gros = codePage == tq::CodePageUtf16Be;
        Verifier(texte.size() == (corps.size() + 1) / 2);
        for (std::size_t i = 0; i + 1 < corps.size(); i += 2) {
            const auto a = static_cast<unsigned char>(corps[i]);
            const auto b = static_cast<unsigned char>(corps[i + 1]);
            Verifier(texte[i / 2] == (gros ? char16_t(a << 8 | b) : char16_t(b << 8 | a)));
        }
        if (corps.size() % 2 != 0)
            Verifier(texte.back() == u'\uFFFD');
        return;
    }
    case tq::CodePageUtf8: {
        // The library's UTF-8 decoder also replaces each maximal ill-formed
        // part by one U+FFFD. Both paths of our decoder are held to it.
        const std::u16string attendu = ConversionBibliotheque("UTF-8", corps);
        Verifier(texte == attendu);
        const tq::TCheminUtf8 avant = tq::CheminUtf8Choisi();
        for (const tq::TCheminUtf8 chemin : { tq::TCheminUtf8::Octets, tq::TCheminUtf8::Blocs })
            if (tq::ChoisirCheminUtf8(chemin))
                Verifier(tq::DecoderCodePage(corps, codePage) == attendu);
        tq::ChoisirCheminUtf8(avant);
        return;
    }
    default:
        break;
    }
    const std::string_view nom = tq::NomConvertisseur(codePage);
    if (tq::DecoderParLaPlateforme({}, codePage).has_value())
        Verifier(texte == ConversionBibliotheque(nom, corps));
    else
        Verifier(texte == tq::DecoderCodePage(corps, tq::CodePageAucun));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    if (taille < 2)
        return 0;
    std::string_view reste(reinterpret_cast<const char*>(donnees) + 2, taille - 2);
    std::string charset;
    if ((donnees[0] & 0x80) != 0) {
        const auto& registre = tq::CharsetsEnregistres;
        const std::string_view choix = Prendre(reste, 1);
        const std::size_t indice =
            ((donnees[0] & 0x7Fu) << 8 | (choix.empty() ? 0u : static_cast<unsigned char>(choix[0])));
        charset = registre[indice % registre.size()].nom;
    } else {
        charset = Prendre(reste, donnees[0] & 0x1Fu);
    }
    const std::string typeMedia(Prendre(reste, donnees[1] & 0x3Fu));
    const std::string_view corps = reste;

    const std::u16string texte = tq::DecoderCorps(corps, typeMedia, charset);
    // For a type that is not XML the charset given is the one used.
    const std::u16string direct = tq::DecoderCodePage(corps, tq::CodePageCharset(charset));
    if (texte != direct) {
        // Only an XML type may decode otherwise, by what its body declares.
        const std::u16string xml = tq::DecoderCorps(corps, "application/xml", charset);
        Verifier(texte == xml);
    }
    VerifierCodePage(corps, tq::CodePageCharset(charset));
    return 0;
}
