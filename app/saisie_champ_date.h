#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "platform/reglages_regionaux.h"

namespace tq {

// What a date field holds while the user types: its text and the selected
// stretch [debut, fin) in UTF-16 code units (debut == fin: only the cursor).
struct TSaisieDate {
    std::u16string texte;
    std::size_t debut = 0;
    std::size_t fin = 0;

    bool operator==(const TSaisieDate&) const = default;
};

// The field's numbers are its runs of digits, taken in the order of
// NombresChampDate. Each operation below gives nothing when it does not
// apply; the field then takes the key as any text field does.

// A digit typed inside one number replaces the selection there; once the
// number has the digits the field writes it with, the next number is
// selected. A number already complete with nothing selected takes the digit
// as plain text.
std::optional<TSaisieDate> TaperChiffre(const TSaisieDate& saisie, char16_t chiffre,
                                        const TReglagesRegionaux& reglages);

// A separator typed inside a number selects the next one; typed over a whole
// number that the field has just selected, or inside the third number, it is
// skipped.
std::optional<TSaisieDate> TaperSeparateur(const TSaisieDate& saisie, char16_t separateur,
                                           const TReglagesRegionaux& reglages);

// The number under the cursor one step up (`pas` 1) or down (-1), the day
// and the month going round within the month and the year, the day kept
// within the new month; the text written again with that number selected.
// Only for a text that reads as a day.
std::optional<TSaisieDate> ChangerNombre(const TSaisieDate& saisie, int pas, const TReglagesRegionaux& reglages,
                                         std::chrono::year anneeCourante);

// The first or the last number selected, as when the field is reached with
// Tab or Shift+Tab.
enum class TBoutChamp { Premier, Dernier };
std::optional<TSaisieDate> SelectionnerNombre(const std::u16string& texte, TBoutChamp bout);

} // namespace tq
