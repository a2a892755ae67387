#include "json/strict/document_strict.h"

#include "json/strict/stockage_document.h"
#include "platform/caracteres.h"

#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tq::json_strict {

namespace {

using A = TAccesInterne;

// Deeper nesting is refused, which also bounds the recursion of the reader
// and of the writer.
constexpr int ProfondeurMaximale = 512;

constexpr bool EstBlanc(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Names kept per place in an object, for the objects that follow to share.
constexpr std::size_t NomsPartages = 32;

// What follows a pair or an element in its container.
enum class TSuite { Virgule, Fermeture, Malforme };

// A recursive-descent reader, one method per rule. Every method starts on the
// first byte of its token (whitespace already skipped) and leaves the cursor
// just after it; false means the text is malformed and ends the whole parse.
class TAnalyseur {
public:
    TAnalyseur(const unsigned char* debut, const unsigned char* fin, TStockageDocument& stockage)
        : p_ { debut }
        , fin_ { fin }
        , ecriture_ { stockage.textes.get() }
        , stockage_ { stockage }
    {
    }

    bool Document(TValeur& racine)
    {
        // The mark alone is not skipped: then its first byte is what is malformed.
        if (fin_ - p_ > 3 && p_[0] == 0xEF && p_[1] == 0xBB && p_[2] == 0xBF)
            p_ += 3;
        SauterBlancs();
        if (!Valeur(racine, 0))
            return false;
        SauterBlancs();
        return p_ == fin_;
    }

private:
    void SauterBlancs()
    {
        while (p_ != fin_ && EstBlanc(*p_))
            ++p_;
    }

    bool Valeur(TValeur& sortie, int profondeur)
    {
        if (p_ == fin_)
            return false;
        switch (*p_) {
        case '{':
            return Objet(sortie, profondeur + 1);
        case '[':
            return Tableau(sortie, profondeur + 1);
        case '"':
            return Chaine(sortie);
        case 't':
            return Litteral("true", TTypeValeur::Vrai, sortie);
        case 'f':
            return Litteral("false", TTypeValeur::Faux, sortie);
        case 'n':
            return Litteral("null", TTypeValeur::Nul, sortie);
        default:
            return Nombre(sortie);
        }
    }

    bool Objet(TValeur& sortie, int profondeur)
    {
        if (profondeur > ProfondeurMaximale)
            return false;
        ++p_;
        SauterBlancs();
        if (p_ != fin_ && *p_ == '}') {
            ++p_;
            sortie = A::Valeur(TTypeValeur::Objet);
            return true;
        }
        const std::size_t base = paires_.size();
        for (;;) {
            TValeur nom = A::Valeur(TTypeValeur::Nul);
            TValeur valeur = nom;
            if (p_ == fin_ || *p_ != '"' || !Nom(nom, paires_.size() - base))
                return false;
            SauterBlancs();
            if (p_ == fin_ || *p_ != ':')
                return false;
            ++p_;
            SauterBlancs();
            if (!Valeur(valeur, profondeur))
                return false;
            paires_.push_back(A::Paire(nom, valeur));
            const TSuite suite = Suite('}');
            if (suite == TSuite::Malforme)
                return false;
            if (suite == TSuite::Fermeture)
                break;
        }
        sortie = Rassembler(paires_, base, TTypeValeur::Objet);
        return true;
    }

    bool Tableau(TValeur& sortie, int profondeur)
    {
        if (profondeur > ProfondeurMaximale)
            return false;
        ++p_;
        SauterBlancs();
        if (p_ != fin_ && *p_ == ']') {
            ++p_;
            sortie = A::Valeur(TTypeValeur::Tableau);
            return true;
        }
        const std::size_t base = elements_.size();
        for (;;) {
            TValeur element = A::Valeur(TTypeValeur::Nul);
            if (!Valeur(element, profondeur))
                return false;
            elements_.push_back(element);
            const TSuite suite = Suite(']');
            if (suite == TSuite::Malforme)
                return false;
            if (suite == TSuite::Fermeture)
                break;
        }
        sortie = Rassembler(elements_, base, TTypeValeur::Tableau);
        return true;
    }

    // What may follow a pair or an element: blanks, then the closing bracket
    // of its container (stepped over) or a comma (stepped over with the
    // blanks after it, so that the cursor is on the next one).
    TSuite Suite(unsigned char fermante)
    {
        SauterBlancs();
        if (p_ == fin_)
            return TSuite::Malforme;
        if (*p_ == fermante) {
            ++p_;
            return TSuite::Fermeture;
        }
        if (*p_ != ',')
            return TSuite::Malforme;
        ++p_;
        SauterBlancs();
        return TSuite::Virgule;
    }

    // The pairs or elements of one container, gathered from `base` to the top
    // of the reader's stack, copied into the document and taken off the stack.
    template <typename T> TValeur Rassembler(std::vector<T>& pile, std::size_t base, TTypeValeur type)
    {
        const std::size_t n = pile.size() - base;
        const TValeur valeur = A::Valeur(type, n, stockage_.Copier(pile.data() + base, n));
        pile.erase(pile.begin() + static_cast<std::ptrdiff_t>(base), pile.end());
        return valeur;
    }

    bool Litteral(std::string_view mot, TTypeValeur type, TValeur& sortie)
    {
        if (static_cast<std::size_t>(fin_ - p_) < mot.size() || std::memcmp(p_, mot.data(), mot.size()) != 0)
            return false;
        p_ += mot.size();
        sortie = A::Valeur(type);
        return true;
    }

    bool Nombre(TValeur& sortie)
    {
        const unsigned char* const debut = p_;
        if (*p_ == '-')
            ++p_;
        if (p_ == fin_ || !EstChiffreAscii(*p_))
            return false;
        if (*p_++ == '0') {
            if (p_ != fin_ && EstChiffreAscii(*p_))
                return false;
        } else {
            while (p_ != fin_ && EstChiffreAscii(*p_))
                ++p_;
        }
        if (p_ != fin_ && *p_ == '.') {
            ++p_;
            if (!Chiffres())
                return false;
        }
        if (p_ != fin_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (p_ != fin_ && (*p_ == '+' || *p_ == '-'))
                ++p_;
            if (!Chiffres())
                return false;
        }
        char16_t* const texte = ecriture_;
        for (const unsigned char* c = debut; c != p_; ++c)
            *ecriture_++ = *c;
        sortie = A::Valeur(TTypeValeur::Nombre, static_cast<std::size_t>(p_ - debut), texte);
        return true;
    }

    // One or more decimal digits.
    bool Chiffres()
    {
        const unsigned char* const debut = p_;
        while (p_ != fin_ && EstChiffreAscii(*p_))
            ++p_;
        return p_ != debut;
    }

    bool Chaine(TValeur& sortie)
    {
        ++p_;
        char16_t* const texte = ecriture_;
        for (;;) {
            CopierAscii();
            if (p_ == fin_)
                return false;
            const unsigned char c = *p_;
            if (c == '"') {
                ++p_;
                break;
            }
            if (c == '\\') {
                if (!Echappement())
                    return false;
            } else if (c < 0x80) {
                *ecriture_++ = c;
                ++p_;
            } else if (!CaractereUtf8()) {
                return false;
            }
        }
        sortie = A::Valeur(TTypeValeur::Chaine, static_cast<std::size_t>(ecriture_ - texte), texte);
        return true;
    }

    // The name of the pair at place `rang` of its object. The objects of an
    // array mostly repeat the same names in the same order: a name equal to
    // the one at the same place in the object read before shares its text,
    // and the text just decoded is given back, so that a list of records
    // keeps one copy of its names rather than one per record.
    bool Nom(TValeur& sortie, std::size_t rang)
    {
        char16_t* const texte = ecriture_;
        if (!Chaine(sortie))
            return false;
        if (rang >= NomsPartages || ecriture_ == texte)
            return true;
        const std::u16string_view nom = A::Texte(sortie);
        std::u16string_view& precedent = nomsPrecedents_[rang];
        if (nom == precedent) {
            ecriture_ = texte;
            sortie = A::Valeur(TTypeValeur::Chaine, precedent.size(), precedent.data());
        } else {
            precedent = nom;
        }
        return true;
    }

    // Copies the run of plain 7-bit bytes (neither the double quote nor the
    // backslash) that starts at the cursor; control characters stand for
    // themselves. The text buffer holds at least as many code units as there
    // are input bytes left, so a whole 16-unit store is always in bounds.
    void CopierAscii()
    {
#if defined(__SSE2__)
        const __m128i guillemet = _mm_set1_epi8('"');
        const __m128i barre = _mm_set1_epi8('\\');
        const __m128i zero = _mm_setzero_si128();
        while (fin_ - p_ >= 16) {
            const __m128i octets = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p_));
            const __m128i speciaux = _mm_or_si128(_mm_cmpeq_epi8(octets, guillemet), _mm_cmpeq_epi8(octets, barre));
            const unsigned masque = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(speciaux, octets)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(ecriture_), _mm_unpacklo_epi8(octets, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(ecriture_ + 8), _mm_unpackhi_epi8(octets, zero));
            if (masque != 0) {
                const int n = __builtin_ctz(masque);
                p_ += n;
                ecriture_ += n;
                return;
            }
            p_ += 16;
            ecriture_ += 16;
        }
#endif
        while (p_ != fin_ && *p_ < 0x80 && *p_ != '"' && *p_ != '\\')
            *ecriture_++ = *p_++;
    }

    bool Echappement()
    {
        if (fin_ - p_ < 2)
            return false;
        const unsigned char c = p_[1];
        p_ += 2;
        switch (c) {
        case '"':
        case '\\':
        case '/':
            *ecriture_++ = c;
            return true;
        case 'b':
            *ecriture_++ = 0x08;
            return true;
        case 'f':
            *ecriture_++ = 0x0C;
            return true;
        case 'n':
            *ecriture_++ = 0x0A;
            return true;
        case 'r':
            *ecriture_++ = 0x0D;
            return true;
        case 't':
            *ecriture_++ = 0x09;
            return true;
        case 'u':
            return EchappementUnicode();
        default:
            return false;
        }
    }

    // The four characters after the "u" of an escape give one code unit: surrogate halves are
    // taken as they come, paired or not. Four characters that are not all
    // hexadecimal digits are still an escape, read as U+FFFD, the character
    // that stands for what cannot be decoded: the rest of the answer stays
    // readable, and the ASCII reduction turns it into "?", never into a
    // character that would break the JSON text. The closing quote is never one
    // of the four, nor a backslash, which starts an escape of its own: an
    // escape with fewer than four characters before either is malformed.
    bool EchappementUnicode()
    {
        unsigned unite = 0;
        bool hexadecimal = true;
        for (int i = 0; i < 4; ++i) {
            if (p_ == fin_ || *p_ == '"' || *p_ == '\\')
                return false;
            if (*p_ >= 0x80) {
                // A character beyond ASCII counts once, however many bytes
                // it takes; what it decodes to is not kept.
                char16_t* const avant = ecriture_;
                if (!CaractereUtf8())
                    return false;
                ecriture_ = avant;
                hexadecimal = false;
                continue;
            }
            const int chiffre = ValeurHexa(*p_++);
            hexadecimal = hexadecimal && chiffre >= 0;
            unite = unite << 4 | static_cast<unsigned>(chiffre & 0xF);
        }
        *ecriture_++ = hexadecimal ? static_cast<char16_t>(unite) : u'\uFFFD';
        return true;
    }

    // One well-formed UTF-8 sequence of two to four bytes: no overlong form,
    // no encoded surrogate, nothing above U+10FFFF.
    bool CaractereUtf8()
    {
        const unsigned char c = *p_;
        const std::ptrdiff_t reste = fin_ - p_;
        auto suite = [this](int i) { return p_[i] >= 0x80 && p_[i] <= 0xBF; };
        if (c >= 0xC2 && c <= 0xDF) {
            if (reste < 2 || !suite(1))
                return false;
            *ecriture_++ = static_cast<char16_t>((c & 0x1F) << 6 | (p_[1] & 0x3F));
            p_ += 2;
            return true;
        }
        if (c >= 0xE0 && c <= 0xEF) {
            if (reste < 3 || !suite(1) || !suite(2))
                return false;
            if ((c == 0xE0 && p_[1] < 0xA0) || (c == 0xED && p_[1] > 0x9F))
                return false;
            *ecriture_++ = static_cast<char16_t>((c & 0x0F) << 12 | (p_[1] & 0x3F) << 6 | (p_[2] & 0x3F));
            p_ += 3;
            return true;
        }
        if (c >= 0xF0 && c <= 0xF4) {
            if (reste < 4 || !suite(1) || !suite(2) || !suite(3))
                return false;
            if ((c == 0xF0 && p_[1] < 0x90) || (c == 0xF4 && p_[1] > 0x8F))
                return false;
            const char32_t point =
                static_cast<char32_t>((c & 0x07) << 18 | (p_[1] & 0x3F) << 12 | (p_[2] & 0x3F) << 6 | (p_[3] & 0x3F))
                - 0x10000;
            *ecriture_++ = static_cast<char16_t>(0xD800 + (point >> 10));
            *ecriture_++ = static_cast<char16_t>(0xDC00 + (point & 0x3FF));
            p_ += 4;
            return true;
        }
        return false;
    }

    const unsigned char* p_;
    const unsigned char* const fin_;
    char16_t* ecriture_;
    TStockageDocument& stockage_;
    // Values and pairs of the arrays and objects still open, innermost last;
    // each container moves its own into the document when it closes.
    std::vector<TValeur> elements_;
    std::vector<TPaire> paires_;
    // The last name decoded at each place of an object, whatever its depth.
    std::u16string_view nomsPrecedents_[NomsPartages];
};

} // namespace

std::optional<TDocument> ParseDocument(std::string_view octets, std::size_t debut)
{
    if (debut >= octets.size())
        return std::nullopt;
    const auto* premier = reinterpret_cast<const unsigned char*>(octets.data()) + debut;
    const auto* fin = reinterpret_cast<const unsigned char*>(octets.data()) + octets.size();

    auto stockage = std::make_unique<TStockageDocument>(octets.size() - debut);
    TAnalyseur analyseur { premier, fin, *stockage };
    if (!analyseur.Document(stockage->racine))
        return std::nullopt;
    return A::Document(std::move(stockage));
}

} // namespace tq::json_strict
