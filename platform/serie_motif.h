#pragma once

#include <cstddef>
#include <string_view>

namespace tq {

// Where the run of equal characters that starts at `debut` ends in a date
// pattern: a field is such a run ("yyyy" is one field, "yy" another), and so
// is a stretch of one literal character.
inline std::size_t FinDeSerie(std::u16string_view motif, std::size_t debut)
{
    std::size_t fin = debut;
    while (fin < motif.size() && motif[fin] == motif[debut])
        ++fin;
    return fin;
}

} // namespace tq
