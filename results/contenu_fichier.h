#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tq {

// The bytes of a result file: every line followed by CR LF, the whole text in
// the ANSI code page (Windows-1252), nothing before or after.

// The answer text as the file's one line.
std::string ContenuFichierJson(std::u16string_view reponse);

// One line per element of the answer's "resultats" (an array's elements, an
// object's member values): the element's text, or its compact JSON for any
// other kind than a text, with each backslash that stands directly before a
// double quote removed. A readable answer without a usable "resultats" gives
// no line and no byte. The lines are handed out a piece at a time, so that a
// large file never stands whole in memory.
class TLignesResultats {
public:
    // Reads the answer, so that an unreadable one fails before any file is
    // touched: throws ErreurReponseIllisible when the lenient reader rejects
    // it.
    explicit TLignesResultats(std::u16string_view reponse);
    ~TLignesResultats();
    TLignesResultats(const TLignesResultats&) = delete;
    TLignesResultats& operator=(const TLignesResultats&) = delete;

    bool Finies() const { return suivante_ == nombre_; }

    // Appends the next line, CR LF included, and the ones after it until
    // `sortie` holds at least `taille` bytes or no line is left. A line is
    // never cut.
    void AjouterSuivantes(std::string& sortie, std::size_t taille);

private:
    struct TDocument;
    std::unique_ptr<TDocument> document_;
    std::size_t suivante_ = 0;
    std::size_t nombre_ = 0;
};

} // namespace tq
