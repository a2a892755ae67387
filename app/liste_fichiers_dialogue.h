#pragma once

class QFileDialog;

namespace tq {

// Readies the file list of Qt's own save dialog: sizes and dates in French
// whatever the user's language (Qt writes them with the system's locale:
// "4.88 KiB", "10 Dec 2026"), the dates still in the order of the user's
// format; and its four columns wide enough for their titles and for what
// they show, the dialog widened to hold them. Before the dialog is shown.
void PreparerListeFichiers(QFileDialog& dialogue);

} // namespace tq
