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
#include "json/souple/pile_brute.h"
#include "json/souple/recherche_unites.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

namespace tq::json_souple {
namespace {

// Values at this level make the read fail: containers at the level below can
// only be empty. Recursion is bounded by it.
constexpr int NiveauInterdit = 32;

enum class TContexte : std::uint8_t { Racine, Tableau, Objet };

enum class TFinDeTexte : std::uint8_t { Refusee, Acceptee };

enum class TRognage : std::uint8_t { Aucun, BlancsFinaux };

// What follows an element or a member in its container.
enum class TSuite : std::uint8_t { Virgule, Fermeture, Malforme };

struct TMembreEnCours {
    TNomMembre nom;
    TValeurSouple valeur;
};

constexpr bool EstCaractereDeNombre(char16_t c) noexcept
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'+' || c == u'-';
}

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
        valeur = RangerMembres(base);
        return true;
    }

    // Puts the members read since `base` in member order, keeps the later
    // value of a name given twice, and moves them into the arena: names
    // first, then values.
    TValeurSouple RangerMembres(std::size_t base)
    {
        const TMembreEnCours* membres = membres_.data() + base;
        const std::size_t lus = membres_.size() - base;

        // One 64-bit key per member: the complement of its hash above, its
        // rank of reading below. Sorting the keys orders by hash, largest
        // first, without moving the members themselves.
        cles_.clear();
        for (std::size_t i = 0; i < lus; ++i)
            cles_.push_back(std::uint64_t { ~membres[i].nom.hachage } << 32 | i);
        std::sort(cles_.begin(), cles_.end());

        // Equal hashes are rare: within such a run, order by name, and among
        // equal names by rank, so that the last one read comes last.
        auto Rang = [](std::uint64_t cle) { return static_cast<std::uint32_t>(cle); };
        for (std::size_t debut = 0; debut < lus;) {
            std::size_t fin = debut + 1;
            while (fin < lus && (cles_[fin] >> 32) == (cles_[debut] >> 32))
                ++fin;
            if (fin - debut > 1) {
                std::sort(
                    cles_.begin() + static_cast<std::ptrdiff_t>(debut),
                    cles_.begin() + static_cast<std::ptrdiff_t>(fin),
                    [&](std::uint64_t a, std::uint64_t b) {
                        const int ordre = membres[Rang(a)].nom.Vue().compare(membres[Rang(b)].nom.Vue());
                        return ordre != 0 ? ordre < 0 : Rang(a) < Rang(b);
                    });
            }
            debut = fin;
        }

        // A name read again replaces the earlier value where it stands.
        std::size_t n = 0;
        for (std::size_t i = 0; i < lus; ++i) {
            const bool remplace = i + 1 < lus && (cles_[i] >> 32) == (cles_[i + 1] >> 32)
                               && membres[Rang(cles_[i])].nom.Vue() == membres[Rang(cles_[i + 1])].nom.Vue();
            if (!remplace)
                cles_[n++] = cles_[i];
        }

        TValeurSouple* valeurs = nullptr;
        if (n > 0) {
            const std::size_t octets = n * (sizeof(TNomMembre) + sizeof(TValeurSouple));
            auto* bloc = static_cast<std::byte*>(arene_.Allouer(octets, alignof(TNomMembre)));
            auto* noms = reinterpret_cast<TNomMembre*>(bloc);
            valeurs = reinterpret_cast<TValeurSouple*>(bloc + n * sizeof(TNomMembre));
            for (std::size_t i = 0; i < n; ++i) {
                const TMembreEnCours& membre = membres[Rang(cles_[i])];
                ::new (static_cast<void*>(noms + i)) TNomMembre(membre.nom);
                ::new (static_cast<void*>(valeurs + i)) TValeurSouple(membre.valeur);
            }
        }
        membres_.reduire(base);
        return TAccesValeur::Conteneur(TGenreSouple::Objet, valeurs, static_cast<std::uint32_t>(n));
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
            if (!Garder(debut, p_, echappe, TRognage::Aucun, texte, taille))
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

    // The text of the run [debut, fin): a view into the text read when it
    // holds no escape, else its decoding in the arena. Trailing spaces and
    // line breaks that no escape gave are removed if asked.
    bool Garder(const char16_t* debut, const char16_t* fin, bool echappe, TRognage rognage, const char16_t*& texte,
                std::uint32_t& taille)
    {
        const std::size_t n = static_cast<std::size_t>(fin - debut);
        TTexteDecode decode { n, 0 };
        texte = debut;
        if (echappe) {
            char16_t* copie = arene_.AllouerUnites(n + MargeDecodage);
            if (!DecoderEchappements(debut, fin, copie, decode))
                return false;
            texte = copie;
        }
        if (rognage == TRognage::BlancsFinaux) {
            while (decode.taille > decode.protege) {
                const char16_t dernier = texte[decode.taille - 1];
                if (dernier != u' ' && dernier != u'\r' && dernier != u'\n')
                    break;
                --decode.taille;
            }
        }
        taille = static_cast<std::uint32_t>(decode.taille);
        return true;
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
        if (!Garder(debut, p_, echappe, TRognage::BlancsFinaux, texte, taille))
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

    // Takes every code unit of "+-.0123456789eE". A run that is no
    // well-formed number, or whose value does not fit its kind, is kept as
    // a text, unchanged.
    void LireNombre(TValeurSouple& valeur)
    {
        const char16_t* debut = p_;
        // Most numbers are short plain integers, read as they are taken; up
        // to 18 digits cannot overflow.
        const bool negatif = Unite() == u'-';
        if (negatif)
            ++p_;
        std::uint64_t absolue = 0;
        for (char16_t c = Unite(); c >= u'0' && c <= u'9'; c = Unite()) {
            absolue = absolue * 10 + (c - u'0');
            ++p_;
        }
        const std::size_t chiffres = static_cast<std::size_t>(p_ - debut) - (negatif ? 1 : 0);
        if (!EstCaractereDeNombre(Unite()) && chiffres > 0 && chiffres <= 18) {
            const auto entier = static_cast<std::int64_t>(absolue);
            valeur = TAccesValeur::Scalaire(TGenreSouple::Entier, negatif ? -entier : entier);
            return;
        }
        while (EstCaractereDeNombre(Unite()))
            ++p_;
        const std::u16string_view pris(debut, static_cast<std::size_t>(p_ - debut));
        if (!ConvertirNombre(pris, valeur))
            valeur = TAccesValeur::Texte(debut, static_cast<std::uint32_t>(pris.size()));
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
