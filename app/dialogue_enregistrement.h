#pragma once

#include <QString>
#include <QStringList>

#include "app/commandes/type_fichier.h"

namespace tq {

// The save dialog shared by every file command.
inline constexpr const char16_t* TitreDialogueEnregistrement = u"Enregistrement du fichier CSV";

// The name filters handed to the dialog, in the order of the file types:
// "Fichier CSV (*.csv)", "Fichier TXT (*.txt)", "Fichier JSON (*.json)". The
// dialog is told to show the names alone; the patterns still choose the
// files it lists.
QStringList FiltresEnregistrement();

// The index of the file type in FiltresEnregistrement().
int IndiceFiltreEnregistrement(TTypeFichier typeFichier);

// The index in FiltresEnregistrement() of the type the dialog reports as
// selected, which it gives as the whole filter or as the name alone; -1 for
// any other text.
int IndiceFiltreChoisi(const QString& filtreChoisi);

// The path confirmed in the dialog, with the extension of the selected type
// added when its file name has none ("rapport" with "Fichier JSON" gives
// "rapport.json"). A name that holds a full stop is kept as typed.
QString CheminAvecExtension(const QString& chemin, int indiceFiltre);

} // namespace tq
