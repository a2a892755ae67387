#pragma once

namespace tq {

// The file types of the save dialog, numbered from 1 in the order of its list.
enum class TTypeFichier {
    Csv = 1,  // "Fichier CSV"
    Txt = 2,  // "Fichier TXT"
    Json = 3, // "Fichier JSON"
};

} // namespace tq
