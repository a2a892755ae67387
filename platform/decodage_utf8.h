#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tq {

// UTF-8 to UTF-16 in one pass. An ill-formed sequence gives one U+FFFD for
// each maximal part of a well-formed sequence it begins with (as the
// conversion library does); a byte-order mark gives U+FEFF.
std::u16string DecoderUtf8(std::string_view octets);

// The same decoding of bytes that come in pieces, cut anywhere: a sequence
// split between two pieces waits for the next one. Once Terminer has run, the
// text is exactly what DecoderUtf8 gives for all the pieces at once.
class TDecodeurUtf8 {
public:
    void Ajouter(std::string_view piece, std::u16string& texte);
    void Terminer(std::u16string& texte);

private:
    unsigned char attente_[3] {};
    std::size_t enAttente_ = 0;
};

// Makes room for `unites` code units in one allocation, on huge pages for a
// text of several megabytes (see ReserverGrandTampon).
void ReserverGrandTexte(std::u16string& texte, std::size_t unites);

} // namespace tq
