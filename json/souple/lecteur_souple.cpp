// The lenient reader. Beyond strict JSON it accepts:
//  - comments, "/* ... */" and "// ..." up to a line feed, wherever
//    whitespace may stand, and backspace as whitespace;
//  - texts between apostrophes as well as between double quotes, with raw
//    control characters and line breaks inside;
//  - the escape "\xHH", and a backslash before any other code unit giving
//    that code unit ("\q" is "q");
//  - unquoted texts, up to "," or the closing bracket of their container (to
//    the end of the text at the top level), trailing spaces and line breaks
//    removed;
//  - unquoted member names, up to the ":";
//  - an empty element or member value ("[1,,2]", "{a:}") as the empty text;
//  - a trailing comma in arrays and objects;
//  - "(" before a value, skipped;
//  - numbers with leading zeros or no digit after the point ("007", "3.");
//    a run of number characters that is no number ("1-2") is kept as text;
//  - a name given twice, the later value replacing the earlier;
//  - anything after the top-level value, and a comment left open there.
// It still rejects: a lone "/", a text that ends inside a value or a comment
// before the value is complete, an element or member not followed by "," or
// its closing bracket, a member name that starts with one of "(),.:[]{" or is
// not followed by ":", two commas in a row in an object, a non-hexadecimal
// digit in "\u" or "\x", and nesting 32 levels deep.
// Literals are lower case only: "True", "NULL", "nul" and "nullx" are texts.

#include "json/souple/valeur_souple.h"

#include "json/souple/arbre_souple.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

namespace tq::json_souple {
namespace {

// Values at this level make the read fail: containers at the level below can
// only be empty. Recursion is bounded by it.
constexpr int NiveauInterdit = 32;

enum class TContexte : std::uint8_t { Racine, Tableau, Objet };

enum class TFinDeTexte : std::uint8_t { Refusee, Acceptee };

struct TMembreEnCours {
    TNomMembre nom;
    std::uint32_t rang;
    TValeurSouple valeur;
};

constexpr bool EstLettreAscii(char16_t c) noexcept { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

constexpr int ValeurHexa(char16_t c) noexcept
{
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// Integer: an optional minus and at least one digit, within 64 bits.
bool ConvertirEntier(std::u16string_view pris, std::int64_t& valeur) noexcept
{
    const bool negatif = !pris.empty() && pris.front() == u'-';
    if (negatif) {
        pris.remove_prefix(1);
    }
    if (pris.empty()) {
        return false;
    }
    const std::uint64_t limite = negatif ? std::uint64_t { 1 } << 63 : (std::uint64_t { 1 } << 63) - 1;
    std::uint64_t absolue = 0;
    for (char16_t c : pris) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        const unsigned chiffre = c - u'0';
        if (absolue > (limite - chiffre) / 10) {
            return false;
        }
        absolue = absolue * 10 + chiffre;
    }
    valeur = negatif ? static_cast<std::int64_t>(std::uint64_t { 0 } - absolue) : static_cast<std::int64_t>(absolue);
    return true;
}

// Decimal: an optional minus, digits, one point and exactly `decimales` digits
// (0 to 4), at least one digit in all; the count of ten-thousandths must fit
// 64 bits.
bool ConvertirDecimal(std::u16string_view pris, int decimales, std::int64_t& valeur) noexcept
{
    const bool negatif = !pris.empty() && pris.front() == u'-';
    if (negatif) {
        pris.remove_prefix(1);
    }
    const std::size_t point = pris.find(u'.');
    if (point == std::u16string_view::npos || pris.size() - point - 1 != static_cast<std::size_t>(decimales)
        || pris.size() == 1) {
        return false;
    }
    const std::uint64_t limite = negatif ? std::uint64_t { 1 } << 63 : (std::uint64_t { 1 } << 63) - 1;
    std::uint64_t absolue = 0;
    for (std::size_t i = 0; i < pris.size(); ++i) {
        if (i == point) {
            continue;
        }
        const char16_t c = pris[i];
        if (c < u'0' || c > u'9') {
            return false;
        }
        const unsigned chiffre = c - u'0';
        if (absolue > (limite - chiffre) / 10) {
            return false;
        }
        absolue = absolue * 10 + chiffre;
    }
    for (int i = decimales; i < 4; ++i) {
        if (absolue > limite / 10) {
            return false;
        }
        absolue *= 10;
    }
    valeur = negatif ? static_cast<std::int64_t>(std::uint64_t { 0 } - absolue) : static_cast<std::int64_t>(absolue);
    return true;
}

// Floating: the whole text must read as a finite double, "." as the point
// whatever the locale.
bool ConvertirFlottant(std::u16string_view pris, double& valeur)
{
    char court[64];
    std::string long_;
    char* octets = court;
    if (pris.size() > sizeof court) {
        long_.resize(pris.size());
        octets = long_.data();
    }
    for (std::size_t i = 0; i < pris.size(); ++i) {
        octets[i] = static_cast<char>(pris[i]);
    }
    const char* fin = octets + pris.size();
    const auto [ptr, ec] = std::from_chars(octets, fin, valeur, std::chars_format::general);
    return ec == std::errc() && ptr == fin;
}

class TLecteurSouple {
public:
    TLecteurSouple(char16_t* texte, TArene& arene) : m_p(texte), m_arene(arene) { m_elements.reserve(64); }

    bool LireDocument(TValeurSouple& racine)
    {
        return SauterBlancs(TFinDeTexte::Refusee) && LireValeur(racine, 0, TContexte::Racine)
            && SauterBlancs(TFinDeTexte::Acceptee);
    }

private:
    // Skips whitespace and comments. Fails on a "/" that opens no comment,
    // and on a comment still open at the end of the text unless the caller
    // accepts that.
    bool SauterBlancs(TFinDeTexte finDeTexte) noexcept
    {
        for (;;) {
            const char16_t c = *m_p;
            if (c == u' ' || c == u'\n' || c == u'\r' || c == u'\t' || c == 8 || c == 12) {
                ++m_p;
                continue;
            }
            if (c != u'/') {
                return true;
            }
            if (m_p[1] == u'*') {
                m_p += 2;
                while (!(m_p[0] == u'*' && m_p[1] == u'/')) {
                    if (*m_p == 0) {
                        return finDeTexte == TFinDeTexte::Acceptee;
                    }
                    ++m_p;
                }
                m_p += 2;
            } else if (m_p[1] == u'/') {
                m_p += 2;
                while (*m_p != u'\n') {
                    if (*m_p == 0) {
                        return finDeTexte == TFinDeTexte::Acceptee;
                    }
                    ++m_p;
                }
                ++m_p;
            } else {
                return false;
            }
        }
    }

    bool SauterBlancs() noexcept { return SauterBlancs(TFinDeTexte::Refusee); }

    bool LireValeur(TValeurSouple& valeur, int niveau, TContexte contexte)
    {
        if (niveau >= NiveauInterdit) {
            return false;
        }
        while (*m_p == u'(') {
            ++m_p;
        }
        switch (*m_p) {
        case u'{':
            return LireObjet(valeur, niveau);
        case u'[':
            return LireTableau(valeur, niveau);
        case u'"':
        case u'\'': {
            const char16_t* texte = nullptr;
            std::uint32_t taille = 0;
            if (!LireTexteCite(texte, taille)) {
                return false;
            }
            valeur = TAccesValeur::Texte(texte, taille);
            return true;
        }
        case u'-':
        case u'0':
        case u'1':
        case u'2':
        case u'3':
        case u'4':
        case u'5':
        case u'6':
        case u'7':
        case u'8':
        case u'9':
            LireNombre(valeur);
            return true;
        case u'n':
            return LireLitteral(valeur, u"null", TAccesValeur::Scalaire(TGenreSouple::Nul, 0), contexte);
        case u't':
            return LireLitteral(valeur, u"true", TAccesValeur::Scalaire(TGenreSouple::Booleen, 1), contexte);
        case u'f':
            return LireLitteral(valeur, u"false", TAccesValeur::Scalaire(TGenreSouple::Booleen, 0), contexte);
        default:
            return LireTexteNu(valeur, contexte);
        }
    }

    bool LireTableau(TValeurSouple& valeur, int niveau)
    {
        ++m_p;
        if (!SauterBlancs()) {
            return false;
        }
        const std::size_t base = m_elements.size();
        if (*m_p != u']') {
            for (;;) {
                TValeurSouple element;
                if (!LireValeur(element, niveau + 1, TContexte::Tableau)) {
                    return false;
                }
                m_elements.push_back(element);
                if (!SauterBlancs()) {
                    return false;
                }
                if (*m_p == u',') {
                    ++m_p;
                    if (!SauterBlancs()) {
                        return false;
                    }
                    if (*m_p == u']') {
                        break;
                    }
                } else if (*m_p == u']') {
                    break;
                } else {
                    return false;
                }
            }
        }
        ++m_p;

        const std::size_t n = m_elements.size() - base;
        TValeurSouple* elements = nullptr;
        if (n > 0) {
            elements = static_cast<TValeurSouple*>(m_arene.Allouer(n * sizeof(TValeurSouple)));
            std::uninitialized_copy_n(m_elements.data() + base, n, elements);
            m_elements.resize(base);
        }
        valeur = TAccesValeur::Conteneur(TGenreSouple::Tableau, elements, static_cast<std::uint32_t>(n));
        return true;
    }

    bool LireObjet(TValeurSouple& valeur, int niveau)
    {
        ++m_p;
        if (!SauterBlancs()) {
            return false;
        }
        const std::size_t base = m_membres.size();
        if (*m_p != u'}') {
            for (std::uint32_t rang = 0;; ++rang) {
                TMembreEnCours membre;
                membre.rang = rang;
                if (!LireNom(membre.nom) || !SauterBlancs() || *m_p != u':') {
                    return false;
                }
                ++m_p;
                if (!SauterBlancs() || !LireValeur(membre.valeur, niveau + 1, TContexte::Objet)) {
                    return false;
                }
                m_membres.push_back(membre);
                if (!SauterBlancs()) {
                    return false;
                }
                if (*m_p == u',') {
                    ++m_p;
                    if (!SauterBlancs()) {
                        return false;
                    }
                    if (*m_p == u'}') {
                        break;
                    }
                } else if (*m_p == u'}') {
                    break;
                } else {
                    return false;
                }
            }
        }
        ++m_p;
        valeur = RangerMembres(base);
        return true;
    }

    // Puts the members read since `base` in member order, keeps the later
    // value of a name given twice, and moves them into the arena: names
    // first, then values.
    TValeurSouple RangerMembres(std::size_t base)
    {
        TMembreEnCours* debut = m_membres.data() + base;
        TMembreEnCours* fin = m_membres.data() + m_membres.size();
        if (fin - debut > 1) {
            std::sort(debut, fin, [](const TMembreEnCours& a, const TMembreEnCours& b) {
                if (a.nom.hachage != b.nom.hachage) {
                    return a.nom.hachage > b.nom.hachage;
                }
                const int ordre = a.nom.Vue().compare(b.nom.Vue());
                return ordre != 0 ? ordre < 0 : a.rang < b.rang;
            });
            TMembreEnCours* garde = debut;
            for (TMembreEnCours* m = debut; m != fin; ++m) {
                const bool remplace = m + 1 != fin && m[1].nom.hachage == m->nom.hachage
                    && m[1].nom.Vue() == m->nom.Vue();
                if (!remplace) {
                    *garde++ = *m;
                }
            }
            fin = garde;
        }

        const std::size_t n = static_cast<std::size_t>(fin - debut);
        TValeurSouple* valeurs = nullptr;
        if (n > 0) {
            auto* bloc = static_cast<std::byte*>(m_arene.Allouer(n * (sizeof(TNomMembre) + sizeof(TValeurSouple))));
            auto* noms = reinterpret_cast<TNomMembre*>(bloc);
            valeurs = reinterpret_cast<TValeurSouple*>(bloc + n * sizeof(TNomMembre));
            for (std::size_t i = 0; i < n; ++i) {
                ::new (static_cast<void*>(noms + i)) TNomMembre(debut[i].nom);
                ::new (static_cast<void*>(valeurs + i)) TValeurSouple(debut[i].valeur);
            }
        }
        m_membres.resize(base);
        return TAccesValeur::Conteneur(TGenreSouple::Objet, valeurs, static_cast<std::uint32_t>(n));
    }

    bool LireNom(TNomMembre& nom)
    {
        const char16_t c = *m_p;
        const char16_t* texte = nullptr;
        std::uint32_t taille = 0;
        if (c == u'"' || c == u'\'') {
            if (!LireTexteCite(texte, taille)) {
                return false;
            }
        } else {
            switch (c) {
            case 0:
            case u'(':
            case u')':
            case u',':
            case u'.':
            case u':':
            case u'[':
            case u']':
            case u'{':
                return false;
            default:
                break;
            }
            // An unquoted name runs up to the ":", spaces included.
            char16_t* debut = m_p;
            char16_t* ecriture = nullptr;
            for (;;) {
                const char16_t u = *m_p;
                if (u == 0) {
                    return false;
                }
                if (u == u':') {
                    break;
                }
                if (u == u'\\') {
                    if (ecriture == nullptr) {
                        ecriture = m_p;
                    }
                    char16_t decode = 0;
                    if (!LireEchappement(decode)) {
                        return false;
                    }
                    *ecriture++ = decode;
                } else {
                    if (ecriture != nullptr) {
                        *ecriture++ = u;
                    }
                    ++m_p;
                }
            }
            texte = debut;
            taille = static_cast<std::uint32_t>((ecriture != nullptr ? ecriture : m_p) - debut);
        }
        nom.texte = texte;
        nom.taille = taille;
        nom.hachage = HachageMembre(nom.Vue());
        return true;
    }

    // At a backslash: reads the escape and leaves m_p after it. A backslash
    // at the very end of the text stands for itself.
    bool LireEchappement(char16_t& decode) noexcept
    {
        ++m_p;
        const char16_t c = *m_p;
        int chiffres = 0;
        switch (c) {
        case 0:
            decode = u'\\';
            return true;
        case u'b':
            decode = 8;
            break;
        case u't':
            decode = 9;
            break;
        case u'n':
            decode = 10;
            break;
        case u'f':
            decode = 12;
            break;
        case u'r':
            decode = 13;
            break;
        case u'u':
            chiffres = 4;
            break;
        case u'x':
            chiffres = 2;
            break;
        default:
            decode = c;
            break;
        }
        ++m_p;
        if (chiffres > 0) {
            unsigned unite = 0;
            for (int i = 0; i < chiffres; ++i) {
                const int v = ValeurHexa(*m_p);
                if (v < 0) {
                    return false;
                }
                unite = unite * 16 + static_cast<unsigned>(v);
                ++m_p;
            }
            decode = static_cast<char16_t>(unite);
        }
        return true;
    }

    // At the opening quote; the text is closed by the same character.
    // Escaped texts are decoded over their own source.
    bool LireTexteCite(const char16_t*& texte, std::uint32_t& taille) noexcept
    {
        const char16_t guillemet = *m_p++;
        char16_t* debut = m_p;
        for (;;) {
            const char16_t c = *m_p;
            if (c == guillemet) {
                texte = debut;
                taille = static_cast<std::uint32_t>(m_p - debut);
                ++m_p;
                return true;
            }
            if (c == u'\\') {
                break;
            }
            if (c == 0) {
                return false;
            }
            ++m_p;
        }
        char16_t* ecriture = m_p;
        for (;;) {
            const char16_t c = *m_p;
            if (c == guillemet) {
                texte = debut;
                taille = static_cast<std::uint32_t>(ecriture - debut);
                ++m_p;
                return true;
            }
            if (c == 0) {
                return false;
            }
            if (c == u'\\') {
                char16_t decode = 0;
                if (!LireEchappement(decode)) {
                    return false;
                }
                *ecriture++ = decode;
            } else {
                *ecriture++ = c;
                ++m_p;
            }
        }
    }

    // An unquoted text ends before the delimiters of its container, or at the
    // end of the text at the top level. Trailing spaces and line breaks are
    // removed, but not those that an escape produced.
    bool LireTexteNu(TValeurSouple& valeur, TContexte contexte) noexcept
    {
        char16_t fermant = 0;
        char16_t virgule = 0;
        if (contexte == TContexte::Tableau) {
            fermant = u']';
            virgule = u',';
        } else if (contexte == TContexte::Objet) {
            fermant = u'}';
            virgule = u',';
        }
        char16_t* debut = m_p;
        char16_t* ecriture = nullptr;
        char16_t* protege = debut;
        for (;;) {
            const char16_t c = *m_p;
            if (c == 0 || c == virgule || c == fermant) {
                break;
            }
            if (c == u'\\') {
                if (ecriture == nullptr) {
                    ecriture = m_p;
                }
                char16_t decode = 0;
                if (!LireEchappement(decode)) {
                    return false;
                }
                *ecriture++ = decode;
                protege = ecriture;
            } else {
                if (ecriture != nullptr) {
                    *ecriture++ = c;
                }
                ++m_p;
            }
        }
        char16_t* fin = ecriture != nullptr ? ecriture : m_p;
        while (fin > protege && (fin[-1] == u' ' || fin[-1] == u'\r' || fin[-1] == u'\n')) {
            --fin;
        }
        valeur = TAccesValeur::Texte(debut, static_cast<std::uint32_t>(fin - debut));
        return true;
    }

    // The literal is taken only when all its letters match and the next code
    // unit cannot continue a word; otherwise the token is an unquoted text
    // read from its first code unit.
    bool LireLitteral(TValeurSouple& valeur, std::u16string_view litteral, TValeurSouple valeurLitterale,
                      TContexte contexte) noexcept
    {
        char16_t* q = m_p;
        for (char16_t lettre : litteral) {
            if (*q != lettre) {
                return LireTexteNu(valeur, contexte);
            }
            ++q;
        }
        const char16_t suivant = *q;
        if (suivant >= 256 || EstLettreAscii(suivant) || suivant == u'_' || suivant == u'.') {
            return LireTexteNu(valeur, contexte);
        }
        m_p = q;
        valeur = valeurLitterale;
        return true;
    }

    // Takes every code unit of "+-.0123456789eE"; the point and exponent
    // marks decide the kind. A taken text that is no well-formed number, or
    // whose value does not fit its kind, is kept as a text, unchanged.
    void LireNombre(TValeurSouple& valeur)
    {
        const char16_t* debut = m_p;
        bool point = false;
        int decimales = -1;
        for (;; ++m_p) {
            const char16_t c = *m_p;
            if (c >= u'0' && c <= u'9') {
                if (point && decimales >= 0 && ++decimales > 4) {
                    decimales = -1;
                }
            } else if (c == u'.') {
                point = true;
                decimales = 0;
            } else if (c == u'e' || c == u'E') {
                point = true;
                decimales = -1;
            } else if (c != u'+' && c != u'-') {
                break;
            }
        }
        const std::u16string_view pris(debut, static_cast<std::size_t>(m_p - debut));
        std::int64_t entier = 0;
        double flottant = 0.0;
        if (!point) {
            if (ConvertirEntier(pris, entier)) {
                valeur = TAccesValeur::Scalaire(TGenreSouple::Entier, entier);
                return;
            }
        } else if (decimales >= 0) {
            if (ConvertirDecimal(pris, decimales, entier)) {
                valeur = TAccesValeur::Scalaire(TGenreSouple::Decimal, entier);
                return;
            }
        } else if (ConvertirFlottant(pris, flottant)) {
            valeur = TAccesValeur::Flottant(flottant);
            return;
        }
        valeur = TAccesValeur::Texte(debut, static_cast<std::uint32_t>(pris.size()));
    }

    char16_t* m_p;
    TArene& m_arene;
    // Elements and members of the containers being read, innermost last;
    // a finished container moves its own into the arena in one block.
    std::vector<TValeurSouple> m_elements;
    std::vector<TMembreEnCours> m_membres;
};

} // namespace

std::optional<TDocumentSouple> ParseLenientText(std::u16string_view texte) noexcept
{
    // Sizes are kept on 32 bits; no answer comes near 4 G code units.
    if (texte.size() >= std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    try {
        auto donnees = std::make_unique<TDocumentSouple::TDonnees>();
        // The copy ends with a code unit 0, so that the reader tests one
        // value for both ends of the text: its last code unit and its first 0.
        donnees->texte.reset(new char16_t[texte.size() + 1]);
        if (!texte.empty()) {
            std::memcpy(donnees->texte.get(), texte.data(), texte.size() * sizeof(char16_t));
        }
        donnees->texte[texte.size()] = 0;
        TLecteurSouple lecteur(donnees->texte.get(), donnees->arene);
        if (!lecteur.LireDocument(donnees->racine)) {
            return std::nullopt;
        }
        return TDocumentSouple(std::move(donnees));
    } catch (...) {
        // Out of memory is the only failure left; the caller hears nothing.
        return std::nullopt;
    }
}

} // namespace tq::json_souple
