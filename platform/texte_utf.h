#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tq {

// Conversions between the in-memory text (UTF-16 code units) and UTF-8.
// Invalid input never fails. An unpaired surrogate becomes U+FFFD; an
// ill-formed UTF-8 sequence gives one U+FFFD for each maximal part of a
// well-formed sequence it begins with (F0 90 80 41 gives U+FFFD "A", C0 80
// gives two), as conversion libraries do, so the bytes after it read as they
// would on their own. A byte-order mark is kept, as U+FEFF.
std::string VersUtf8(std::u16string_view texte);
std::u16string DepuisUtf8(std::string_view octets);

// The same decoding for bytes that come in pieces, cut anywhere: a sequence
// split between two pieces waits for the next one. Once Terminer has run, the
// text is exactly what DepuisUtf8 gives for all the pieces at once.
class TDecodeurUtf8 {
public:
    void Ajouter(std::string_view piece, std::u16string& texte);
    void Terminer(std::u16string& texte);

private:
    unsigned char attente_[3] {};
    std::size_t enAttente_ = 0;
};

} // namespace tq
