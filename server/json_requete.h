#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tq {

// One value of a JSON document as the server reads requests. Numbers keep
// their text: the request's numbers are small integers and are checked by
// whoever reads them.
struct TValeurJson {
    enum class TGenre { Nul, Booleen, Nombre, Texte, Tableau, Objet };

    TGenre genre = TGenre::Nul;
    bool booleen = false;
    std::u16string texte;             // a text's content, or a number as written
    std::vector<std::u16string> noms; // an object's member names, in document order
    std::vector<TValeurJson> valeurs; // an object's member values, or an array's elements

    // The value of the first member of that name (names compared exactly),
    // or null when this is not an object or has no such member.
    const TValeurJson* Membre(std::u16string_view nom) const;
};

// Reads one JSON document (RFC 8259, nothing more): whitespace around the
// value, nothing after it, at most 64 levels of nesting. A text that is not
// such a document raises ErreurRequete naming the position (counted from 1)
// of the first character that does not fit.
TValeurJson LireJson(std::u16string_view texte);

} // namespace tq
