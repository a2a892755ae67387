#pragma once

#include <functional>
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
// no line and no byte. Throws ErreurReponseIllisible when the lenient reader
// rejects the answer.
std::string ContenuFichierResultats(std::u16string_view reponse);

// The same lines, one at a time, for a writer that sends them on as they come.
// The answer is read on construction (throwing ErreurReponseIllisible as
// above), so that an unreadable answer fails before any file is touched.
class TLignesResultats {
public:
    explicit TLignesResultats(std::u16string_view reponse);
    ~TLignesResultats();
    TLignesResultats(const TLignesResultats&) = delete;
    TLignesResultats& operator=(const TLignesResultats&) = delete;

    // Appends each line of the file, CR LF included, to `sortie`, calling
    // `apresLigne` after each one.
    void Ajouter(std::string& sortie, const std::function<void()>& apresLigne) const;

private:
    struct TDocument;
    std::unique_ptr<TDocument> document_;
};

} // namespace tq
