#pragma once

#include <QTabWidget>

namespace tq {

// A page control whose tabs all have one fixed size, whatever their text.
class TControleOnglets : public QTabWidget {
    Q_OBJECT
public:
    static constexpr QSize TailleOnglet { 160, 32 };

    explicit TControleOnglets(QWidget* parent = nullptr);
};

} // namespace tq
