#pragma once

#include <QTranslator>

namespace tq {

// The French texts that Qt can show in the save dialog and that its French
// catalogue lacks: the kinds of the file list's "Type" column (a folder, a
// drive...), which Qt 6 looks up under a context the catalogue predates.
// Installed after Qt's catalogue; every other text is left to it.
class TCatalogueComplementaire final : public QTranslator {
public:
    QString translate(const char* contexte, const char* source, const char* desambiguisation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace tq
