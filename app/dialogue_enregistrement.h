#pragma once

#include <QString>
#include <QStringList>

namespace tq {

// The save dialog shared by every file command.
inline constexpr const char16_t* TitreDialogueEnregistrement = u"Enregistrement du fichier CSV";

// The file types in the order they are numbered, from 1: "Fichier CSV (*.csv)",
// "Fichier TXT (*.txt)", "Fichier JSON (*.json)".
QStringList FiltresEnregistrement();

// The index in FiltresEnregistrement() of file type `typeFichier`; a number
// outside 1 to 3 gives the first type, as an out-of-range choice does on the
// desktop.
int IndiceFiltreEnregistrement(int typeFichier);

// The path confirmed in the dialog, with the extension of the selected type
// added when its file name has none ("rapport" with "Fichier JSON" gives
// "rapport.json"). A name that holds a full stop is kept as typed.
QString CheminAvecExtension(const QString& chemin, int indiceFiltre);

} // namespace tq
