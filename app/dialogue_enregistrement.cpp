#include "app/dialogue_enregistrement.h"

#include <array>

namespace tq {

namespace {

// The name each type shows and the extension of its files, in the order of
// TTypeFichier.
struct TFiltre {
    const char16_t* libelle;
    const char16_t* extension;
};

constexpr std::array<TFiltre, 3> Filtres { {
    { u"Fichier CSV", u"csv" },
    { u"Fichier TXT", u"txt" },
    { u"Fichier JSON", u"json" },
} };

} // namespace

QStringList FiltresEnregistrement()
{
    QStringList filtres;
    for (const TFiltre& type : Filtres)
        filtres
            << QStringLiteral("%1 (*.%2)").arg(QString::fromUtf16(type.libelle), QString::fromUtf16(type.extension));
    return filtres;
}

int IndiceFiltreEnregistrement(TTypeFichier typeFichier)
{
    return static_cast<int>(typeFichier) - 1;
}

int IndiceFiltreChoisi(const QString& filtreChoisi)
{
    const QStringList filtres = FiltresEnregistrement();
    for (int i = 0; i < static_cast<int>(Filtres.size()); ++i)
        if (filtreChoisi == filtres.at(i)
            || filtreChoisi == QString::fromUtf16(Filtres[static_cast<std::size_t>(i)].libelle))
            return i;
    return -1;
}

QString CheminAvecExtension(const QString& chemin, int indiceFiltre)
{
    if (indiceFiltre < 0 || indiceFiltre >= static_cast<int>(Filtres.size()))
        return chemin;
    const qsizetype debutNom = chemin.lastIndexOf(u'/') + 1;
    if (debutNom >= chemin.size() || chemin.indexOf(u'.', debutNom) >= 0)
        return chemin;
    return chemin + u'.' + QString::fromUtf16(Filtres[static_cast<std::size_t>(indiceFiltre)].extension);
}

} // namespace tq
