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
#include "json/souple/echappement_souple.h"
#include "json/souple/nombre_souple.h"
#include "json/souple/ordre_membres.h"
#include "json/souple/pile_brute.h"
#include "json/souple/recherche_unites.h"
#include "platform/caracteres.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace tq::json_souple {
namespace {

// Values at this level make the read fail: containers at the level below can
// only be empty. Recursion is bounded by it.
constexpr int NiveauInterdit = 32;

enum class TContexte : std::uint8_t { Racine, Tableau, Objet };

enum class TFinDeTexte : std::uint8_t { Refusee, Acceptee };

// What follows an element or a member in its container.
enum class TSuite : std::uint8_t { Virgule, Fermeture, Malforme };

// The reader walks the caller's text, which ends at its last code unit or at
// its first code unit 0. Texts and names without escapes stay where they are
// in it; the others are decoded into the document's arena.
class TLecteurSouple {
public:
    TLecteurSouple(std::u16string_view texte, TArene& arene)
        : p_(texte.data())
        , fin_(texte.data() + texte.size())
        , arene_(arene)
    {
    }

    bool LireDocument(TValeurSouple& racine)
    {
        return SauterBlancs(TFinDeTexte::Refusee) && LireValeur(racine, 0, TContexte::Racine)
            && SauterBlancs(TFinDeTexte::Acceptee);
    }

private:
    // The code unit under the cursor, 0 at the end of the text.
    char16_t Unite() const noexcept { return p_ < fin_ ? *p_ : 0; }
    char16_t UniteSuivante() const noexcept { return fin_ - p_ > 1 ? p_[1] : 0; }

    // Skips whitespace and comments. Fails on a "/" that opens no comment,
    // and on a comment still open at the end of the text unless the caller
    // accepts that.
    bool SauterBlancs(TFinDeTexte finDeTexte) noexcept
    {
        for (;;) {
            const char16_t c = Unite();
            if (c == u' ' || c == u'\n' || c == u'\r' || c == u'\t' || c == 8 || c == 12) {
                ++p_;
                continue;
            }
            if (c != u'/')
                return true;
            const char16_t suivante = UniteSuivante();
            if (suivante != u'*' && suivante != u'/')
                return false;
            p_ += 2;
            for (;;) {
                const char16_t u = Unite();
                if (u == 0)
                    return finDeTexte == TFinDeTexte::Acceptee;
                ++p_;
                if (suivante == u'/' ? u == u'\n' : u == u'*' && Unite() == u'/')
                    break;
            }
            if (suivante == u'*')
                ++p_;
        }
    }

    bool SauterBlancs() noexcept { return SauterBlancs(TFinDeTexte::Refusee); }

    // What may follow an element or a member: blanks, then a comma (stepped
    // over with the blanks after it) or the closing bracket of its container.
    // A comma right before the closing bracket is allowed; the cursor is left
    // on that bracket.
    TSuite Suite(char16_t fermante) noexcept
    {
        if (!SauterBlancs())
            return TSuite::Malforme;
        if (Unite() == u',') {
            ++p_;
            if (!SauterBlancs())
                return TSuite::Malforme;
            return Unite() == fermante ? TSuite::Fermeture : TSuite::Virgule;
        }
        return Unite() == fermante ? TSuite::Fermeture : TSuite::Malforme;
    }

    bool LireValeur(TValeurSouple& valeur, int niveau, TContexte contexte)
    {
        if (niveau >= NiveauInterdit)
            return false;
        while (Unite() == u'(')
            ++p_;
        switch (Unite()) {
        case u'{':
            return LireObjet(valeur, niveau);
        case u'[':
            return LireTableau(valeur, niveau);
        case u'"':
        case u'\'': {
            const char16_t* texte = nullptr;
            std::uint32_t taille = 0;
            if (!LireTexteCite(texte, taille))
                return false;
            valeur = TAccesValeur::Texte(texte, taille);
            return true;
        }
        case u'n':
            return LireLitteral(valeur, u"null", TAccesValeur::Scalaire(TGenreSouple::Nul, 0), contexte);
        case u't':
            return LireLitteral(valeur, u"true", TAccesValeur::Scalaire(TGenreSouple::Booleen, 1), contexte);
        case u'f':
            return LireLitteral(valeur, u"false", TAccesValeur::Scalaire(TGenreSouple::Booleen, 0), contexte);
        default:
            if (Unite() != u'-' && !EstChiffreAscii(Unite()))
                return LireTexteNu(valeur, contexte);
            p_ = LireNombre(p_, fin_, valeur);
            return true;
        }
    }

    bool LireTableau(TValeurSouple& valeur, int niveau)
    {
        ++p_;
        if (!SauterBlancs())
            return false;
        const std::size_t base = elements_.size();
        if (Unite() != u']') {
            for (;;) {
                TValeurSouple element;
                if (!LireValeur(element, niveau + 1, TContexte::Tableau))
                    return false;
                elements_.push_back(element);
                const TSuite suite = Suite(u']');
                if (suite == TSuite::Malforme)
                    return false;
                if (suite == TSuite::Fermeture)
                    break;
            }
        }
        ++p_;

        const std::size_t n = elements_.size() - base;
        TValeurSouple* elements = nullptr;
        if (n > 0) {
            elements = static_cast<TValeurSouple*>(arene_.Allouer(n * sizeof(TValeurSouple), alignof(TValeurSouple)));
            std::uninitialized_copy_n(elements_.data() + base, n, elements);
            elements_.reduire(base);
        }
        valeur = TAccesValeur::Conteneur(TGenreSouple::Tableau, elements, static_cast<std::uint32_t>(n));
        return true;
    }

    bool LireObjet(TValeurSouple& valeur, int niveau)
    {
        ++p_;
        if (!SauterBlancs())
            return false;
        const std::size_t base = membres_.size();
        if (Unite() != u'}') {
            for (;;) {
                TMembreEnCours membre;
                if (!LireNom(membre.nom) || !SauterBlancs() || Unite() != u':')
                    return false;
                ++p_;
                if (!SauterBlancs() || !LireValeur(membre.valeur, niveau + 1, TContexte::Objet))
                    return false;
                membres_.push_back(membre);
                const TSuite suite = Suite(u'}');
                if (suite == TSuite::Malforme)
                    return false;
                if (suite == TSuite::Fermeture)
                    break;
            }
        }
        ++p_;
        valeur = RangerMembres(membres_.data() + base, membres_.size() - base, arene_, cles_);
        membres_.reduire(base);
        return true;
    }

    bool LireNom(TNomMembre& nom)
    {
        const char16_t c = Unite();
        const char16_t* texte = nullptr;
        std::uint32_t taille = 0;
        if (c == u'"' || c == u'\'') {
            if (!LireTexteCite(texte, taille))
                return false;
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
            const char16_t* debut = p_;
            bool echappe = false;
            for (;;) {
                p_ = ChercherUnite(p_, fin_, u':', u'\\', u'\\');
                const char16_t u = Unite();
                if (u == 0)
                    return false;
                if (u == u':')
                    break;
                echappe = true;
                SauterEchappement();
            }
            if (!TexteDuSegment(debut, p_, echappe, TRognage::Aucun, arene_, texte, taille))
                return false;
        }
        nom.texte = texte;
        nom.taille = taille;
        nom.hachage = HachageMembre(nom.Vue());
        return true;
    }

    // At a backslash while looking for the end of a run: the escaped code
    // unit never ends the run. The escape itself is checked when decoded.
    void SauterEchappement() noexcept
    {
        ++p_;
        if (Unite() != 0)
            ++p_;
    }

    // At the opening quote; the text is closed by the same character. A text
    // without escapes is a view into the text read; the others are decoded
    // in the same pass that looks for the closing quote.
    bool LireTexteCite(const char16_t*& texte, std::uint32_t& taille)
    {
        const char16_t guillemet = Unite();
        ++p_;
        const char16_t* debut = p_;
        p_ = ChercherUnite(p_, fin_, guillemet, u'\\', u'\\');
        if (Unite() == guillemet) {
            texte = debut;
            taille = static_cast<std::uint32_t>(p_ - debut);
            ++p_;
            return true;
        }
        tampon_.reduire(0);
        std::copy(debut, p_, tampon_.reserver(static_cast<std::size_t>(p_ - debut)));
        tampon_.avancer(static_cast<std::size_t>(p_ - debut));
        for (;;) {
            if (Unite() == 0)
                return false;
            if (Unite() == guillemet)
                break;
            // At a backslash; a text that ends inside the escape is not closed.
            ++p_;
            char16_t unite = 0;
            if (Unite() == 0 || !DecoderEchappement(p_, fin_, unite))
                return false;
            tampon_.push_back(unite);
            p_ = CopierJusquA(p_, fin_, guillemet, u'\\', tampon_);
        }
        ++p_;
        char16_t* copie = arene_.AllouerUnites(tampon_.size());
        std::copy_n(tampon_.data(), tampon_.size(), copie);
        texte = copie;
        taille = static_cast<std::uint32_t>(tampon_.size());
        return true;
    }

    // An unquoted text ends before the delimiters of its container, or at the
    // end of the text at the top level.
    bool LireTexteNu(TValeurSouple& valeur, TContexte contexte)
    {
        char16_t fermant = u'\\';
        char16_t virgule = u'\\';
        if (contexte == TContexte::Tableau) {
            fermant = u']';
            virgule = u',';
        } else if (contexte == TContexte::Objet) {
            fermant = u'}';
            virgule = u',';
        }
        const char16_t* debut = p_;
        bool echappe = false;
        for (;;) {
            p_ = ChercherUnite(p_, fin_, virgule, fermant, u'\\');
            if (Unite() != u'\\')
                break;
            echappe = true;
            SauterEchappement();
        }
        const char16_t* texte = nullptr;
        std::uint32_t taille = 0;
        if (!TexteDuSegment(debut, p_, echappe, TRognage::BlancsFinaux, arene_, texte, taille))
            return false;
        valeur = TAccesValeur::Texte(texte, taille);
        return true;
    }

    // The literal is taken only when all its letters match and the next code
    // unit cannot continue a word; otherwise the token is an unquoted text
    // read from its first code unit.
    bool LireLitteral(TValeurSouple& valeur, std::u16string_view litteral, TValeurSouple valeurLitterale,
                      TContexte contexte)
    {
        const std::size_t reste = static_cast<std::size_t>(fin_ - p_);
        if (reste < litteral.size() || std::u16string_view(p_, litteral.size()) != litteral)
            return LireTexteNu(valeur, contexte);
        const char16_t suivant = reste > litteral.size() ? p_[litteral.size()] : 0;
        if (suivant >= 256 || EstLettreAscii(suivant) || suivant == u'_' || suivant == u'.')
            return LireTexteNu(valeur, contexte);
        p_ += litteral.size();
        valeur = valeurLitterale;
        return true;
    }

    const char16_t* p_;
    const char16_t* fin_;
    TArene& arene_;
    // Elements and members of the containers being read, innermost last;
    // a finished container moves its own into the arena in one block.
    TPileBrute<TValeurSouple> elements_;
    TPileBrute<TMembreEnCours> membres_;
    // The text being decoded.
    TPileBrute<char16_t> tampon_;
    std::vector<std::uint64_t> cles_;
};

} // namespace

std::optional<TDocumentSouple> ParseLenientText(std::u16string_view texte) noexcept
{
    // Sizes are kept on 32 bits; no answer comes near 4 G code units.
    if (texte.size() >= std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    try {
        auto donnees = std::make_unique<TDocumentSouple::TDonnees>();
        TLecteurSouple lecteur(texte, donnees->arene);
        if (!lecteur.LireDocument(donnees->racine))
            return std::nullopt;
        return TDocumentSouple(std::move(donnees));
    } catch (...) {
        // Out of memory is the only failure left; the caller hears nothing.
        return std::nullopt;
    }
}

} // namespace tq::json_souple
