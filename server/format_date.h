#pragma once

#include <chrono>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

// How the server reads the period of a request and writes the dates of the
// access list. Either one numeric short date pattern, such as "dd/MM/yyyy",
// "yyyy-MM-dd" or "M/d/yy" (d is the day, M the month, y the year, yy or
// yyyy; every other character stands for itself), or the dates of any
// locale's short format (see DeLaLocale).
class TFormatDate {
public:
    // Reads and writes with this pattern only. Raises Erreur when the pattern
    // lacks a field, repeats one, gives a field a width it cannot have or uses
    // another letter.
    explicit TFormatDate(std::u16string_view motif);

    // Reads the date texts that the window and tq_export send under any
    // locale, and writes dd/MM/yyyy. A text is three numbers with one
    // separator, the same twice. A four-digit year first gives year, month,
    // day. Otherwise the year comes last (two digits: 1950 to 2049) and day
    // and month come first in one order or the other: where only one order
    // gives a day of the calendar, that one; where both do, the order of the
    // short date pattern of the named locale (see MotifDateCourtLocale), the
    // one the window writes on a desktop set to it.
    static TFormatDate DeLaLocale(std::string_view nomLocale);

    // Raises ErreurRequete, naming the text and what was expected, when the
    // text cannot be read or is not a day of the calendar.
    std::chrono::year_month_day Lire(std::u16string_view texte) const;

    // The first and last days of a period, read as Lire does, except that
    // with DeLaLocale the two texts are read in the same day/month order
    // when one order reads both.
    std::pair<std::chrono::year_month_day, std::chrono::year_month_day> LirePeriode(std::u16string_view debut,
                                                                                    std::u16string_view fin) const;

    std::u16string Ecrire(std::chrono::year_month_day jour) const;

    const std::u16string& Motif() const { return motif_; }

private:
    enum class TLecture { Motif, FormesDesLocales };
    enum class TOrdre { JourMois, MoisJour };
    static TOrdre AutreOrdre(TOrdre ordre) { return ordre == TOrdre::JourMois ? TOrdre::MoisJour : TOrdre::JourMois; }

    std::chrono::year_month_day LireSansMotif(std::u16string_view texte) const;
    static std::optional<std::chrono::year_month_day> LireDansLOrdre(std::u16string_view texte, TOrdre ordre);
    enum class TChamp { Jour, Mois, Annee, Litteral };
    struct TElement {
        TChamp champ;
        int largeur;       // number of letters in the pattern
        char16_t litteral; // for TChamp::Litteral
    };

    std::u16string motif_;
    std::vector<TElement> elements_;
    TLecture lecture_ = TLecture::Motif;
    // Where day and month could be read either way.
    TOrdre ordreLocale_ = TOrdre::JourMois;
};

// The name of the locale that governs dates in this process's environment:
// LC_ALL, else LC_TIME, else LANG, as the C library reads them; empty when
// none is set.
std::string NomLocaleDesDates();

} // namespace tq
