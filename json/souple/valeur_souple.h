#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tq::json_souple {

enum class TGenreSouple : std::uint8_t { Nul, Booleen, Entier, Decimal, Flottant, Texte, Tableau, Objet };

// One value of a lenient document. Values are created only by the reader and
// live as long as the document that holds them; a value is 16 bytes so that
// arrays of a million lines stay compact.
class TValeurSouple {
public:
    TValeurSouple() noexcept : m_entier(0) { }

    TGenreSouple Genre() const noexcept { return m_genre; }

    // Each accessor answers for its own kind and gives a neutral value for
    // the others (false, 0, an empty text).
    bool Booleen() const noexcept { return m_genre == TGenreSouple::Booleen && m_entier != 0; }
    std::int64_t Entier() const noexcept { return m_genre == TGenreSouple::Entier ? m_entier : 0; }
    // The decimal kind counts ten-thousandths: 2.5 is 25000.
    std::int64_t DixMilliemes() const noexcept { return m_genre == TGenreSouple::Decimal ? m_entier : 0; }
    double Flottant() const noexcept { return m_genre == TGenreSouple::Flottant ? m_flottant : 0.0; }
    std::u16string_view Texte() const noexcept
    {
        return m_genre == TGenreSouple::Texte ? std::u16string_view(m_texte, m_taille) : std::u16string_view();
    }
    // Number of elements of an array or of members of an object, else 0.
    std::size_t Taille() const noexcept
    {
        return m_genre == TGenreSouple::Tableau || m_genre == TGenreSouple::Objet ? m_taille : 0;
    }

private:
    friend struct TAccesValeur;

    union {
        std::int64_t m_entier;
        double m_flottant;
        const char16_t* m_texte;
        const TValeurSouple* m_enfants;
    };
    std::uint32_t m_taille = 0;
    TGenreSouple m_genre = TGenreSouple::Nul;
};

// The tree read from one text. It owns every value and every text of the
// tree; moving it keeps them where they are, and destroying it releases them.
class TDocumentSouple {
public:
    struct TDonnees;

    explicit TDocumentSouple(std::unique_ptr<TDonnees> donnees) noexcept;
    TDocumentSouple(TDocumentSouple&&) noexcept;
    TDocumentSouple& operator=(TDocumentSouple&&) noexcept;
    ~TDocumentSouple();

    const TValeurSouple& Racine() const noexcept;

private:
    std::unique_ptr<TDonnees> m_donnees;
};

// Reads one value from the start of the text; nothing when the text is
// rejected. Never throws.
std::optional<TDocumentSouple> ParseLenientText(std::u16string_view texte) noexcept;

// The member of that exact name (code unit by code unit), or nothing, also
// when the value is not an object.
const TValeurSouple* MemberByName(const TValeurSouple& valeur, std::u16string_view nom) noexcept;

// An array's elements in index order, an object's member values in member
// order, nothing for any other kind.
std::span<const TValeurSouple> EnumerateElements(const TValeurSouple& valeur) noexcept;

// A text gives itself, unquoted; any other kind its compact JSON.
std::u16string AsText(const TValeurSouple& valeur);
void AppendAsText(const TValeurSouple& valeur, std::u16string& sortie);

// The value written as JSON with no space and no line break.
std::u16string CompactJson(const TValeurSouple& valeur);
void AppendCompactJson(const TValeurSouple& valeur, std::u16string& sortie);

} // namespace tq::json_souple
