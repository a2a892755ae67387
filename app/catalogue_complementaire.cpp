#include "app/catalogue_complementaire.h"

#include <array>
#include <string_view>

namespace tq {

namespace {

struct TTraduction {
    std::string_view contexte;
    std::string_view source;
    const char16_t* francais;
};

// The words of Qt 6's file kinds, as its French catalogue gives them in the
// dialog's older context.
constexpr std::array<TTraduction, 7> Traductions { {
    { "QAbstractFileIconProvider", "Drive", u"Disque" },
    { "QAbstractFileIconProvider", "File", u"Fichier" },
    { "QAbstractFileIconProvider", "File Folder", u"Dossier" },
    { "QAbstractFileIconProvider", "Folder", u"Dossier" },
    { "QAbstractFileIconProvider", "Alias", u"Alias" },
    { "QAbstractFileIconProvider", "Shortcut", u"Raccourci" },
    { "QAbstractFileIconProvider", "Unknown", u"Inconnu" },
} };

} // namespace

QString TCatalogueComplementaire::translate(const char* contexte, const char* source, const char*, int) const
{
    if (contexte == nullptr || source == nullptr)
        return {};
    for (const TTraduction& t : Traductions)
        if (t.contexte == contexte && t.source == source)
            return QString::fromUtf16(t.francais);
    return {};
}

} // namespace tq
