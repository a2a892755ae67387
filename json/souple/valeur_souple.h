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
    TValeurSouple() noexcept
        : entier_(0)
    {
    }

    TGenreSouple Genre() const noexcept { return static_cast<TGenreSouple>(entete_ >> 32); }

    // Each accessor answers for its own kind and gives a neutral value for
    // the others (false, 0, an empty text).
    bool Booleen() const noexcept { return Genre() == TGenreSouple::Booleen && entier_ != 0; }
    std::int64_t Entier() const noexcept { return Genre() == TGenreSouple::Entier ? entier_ : 0; }
    // The decimal kind counts ten-thousandths: 2.5 is 25000.
    std::int64_t DixMilliemes() const noexcept { return Genre() == TGenreSouple::Decimal ? entier_ : 0; }
    double Flottant() const noexcept { return Genre() == TGenreSouple::Flottant ? flottant_ : 0.0; }
    std::u16string_view Texte() const noexcept
    {
        return Genre() == TGenreSouple::Texte ? std::u16string_view(texte_, TailleBrute()) : std::u16string_view();
    }
    // Number of elements of an array or of members of an object, else 0.
    std::size_t Taille() const noexcept
    {
        return Genre() == TGenreSouple::Tableau || Genre() == TGenreSouple::Objet ? TailleBrute() : 0;
    }

private:
    std::uint32_t TailleBrute() const noexcept { return static_cast<std::uint32_t>(entete_); }

    friend struct TAccesValeur;

    union {
        std::int64_t entier_;
        double flottant_;
        const char16_t* texte_;
        const TValeurSouple* enfants_;
    };
    // The kind above, the length of a text or the count of an array's or an
    // object's values below: one word, written in one go.
    std::uint64_t entete_ = 0;
};

// The tree read from one text. It owns the values of the tree and the texts
// it had to decode; the other texts are views into the text read, which must
// outlive the document and stay unchanged. Moving the document keeps every
// value where it is; destroying it releases them all.
class TDocumentSouple {
public:
    struct TDonnees;

    explicit TDocumentSouple(std::unique_ptr<TDonnees> donnees) noexcept;
    TDocumentSouple(TDocumentSouple&&) noexcept;
    TDocumentSouple& operator=(TDocumentSouple&&) noexcept;
    ~TDocumentSouple();

    const TValeurSouple& Racine() const noexcept;

private:
    std::unique_ptr<TDonnees> donnees_;
};

// Reads one value from the start of the text; nothing when the text is
// rejected. Never throws.
std::optional<TDocumentSouple> ParseLenientText(std::u16string_view texte) noexcept;
// A temporary text would vanish under the document's views.
std::optional<TDocumentSouple> ParseLenientText(std::u16string&& texte) = delete;

// The member of that exact name (code unit by code unit), or nothing, also
// when the value is not an object.
const TValeurSouple* MemberByName(const TValeurSouple& valeur, std::u16string_view nom) noexcept;

// An array's elements in index order, an object's member values in member
// order, nothing for any other kind.
std::span<const TValeurSouple> EnumerateElements(const TValeurSouple& valeur) noexcept;

// Appends the value's text to `sortie`: a text gives itself, unquoted; any
// other kind its compact JSON. Appending lets a writer of many lines reuse one
// buffer.
void AsText(const TValeurSouple& valeur, std::u16string& sortie);

// Appends the value written as JSON with no space and no line break.
void CompactJson(const TValeurSouple& valeur, std::u16string& sortie);

} // namespace tq::json_souple
