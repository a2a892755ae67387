#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

// A numeric short date pattern such as "dd/MM/yyyy", "yyyy-MM-dd" or
// "M/d/yy": d is the day, M the month, y the year (yy or yyyy); every other
// character stands for itself. The server reads the period of a request and
// writes the dates of the access list with it.
class TFormatDate {
public:
    // Raises Erreur when the pattern lacks a field, repeats one, gives a
    // field a width it cannot have or uses another letter.
    explicit TFormatDate(std::u16string_view motif);

    // Raises ErreurRequete, naming the text and the pattern, when the text
    // does not follow the pattern or is not a day of the calendar.
    std::chrono::year_month_day Lire(std::u16string_view texte) const;

    std::u16string Ecrire(std::chrono::year_month_day jour) const;

    const std::u16string& Motif() const { return motif_; }

private:
    enum class TChamp { Jour, Mois, Annee, Litteral };
    struct TElement {
        TChamp champ;
        int largeur;       // number of letters in the pattern
        char16_t litteral; // for TChamp::Litteral
    };

    std::u16string motif_;
    std::vector<TElement> elements_;
};

} // namespace tq
