#include "app/dialogue_enregistrement.h"

#include <array>

namespace tq {

namespace {

struct TTypeFichier {
    const char16_t* libelle;
    const char16_t* extension;
};

constexpr std::array<TTypeFichier, 3> TypesFichier { {
    { u"Fichier CSV", u"csv" },
    { u"Fichier TXT", u"txt" },
    { u"Fichier JSON", u"json" },
} };

} // namespace

QStringList FiltresEnregistrement()
{
    QStringList filtres;
    for (const TTypeFichier& type : TypesFichier)
        filtres
            << QStringLiteral("%1 (*.%2)").arg(QString::fromUtf16(type.libelle), QString::fromUtf16(type.extension));
    return filtres;
}

int IndiceFiltreEnregistrement(int typeFichier)
{
    if (typeFichier < 1 || typeFichier > static_cast<int>(TypesFichier.size()))
        return 0;
    return typeFichier - 1;
}

QString CheminAvecExtension(const QString& chemin, int indiceFiltre)
{
    if (indiceFiltre < 0 || indiceFiltre >= static_cast<int>(TypesFichier.size()))
        return chemin;
    const qsizetype debutNom = chemin.lastIndexOf(u'/') + 1;
    if (debutNom >= chemin.size() || chemin.indexOf(u'.', debutNom) >= 0)
        return chemin;
    return chemin + u'.' + QString::fromUtf16(TypesFichier[static_cast<std::size_t>(indiceFiltre)].extension);
}

} // namespace tq
