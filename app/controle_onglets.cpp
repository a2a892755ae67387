#include "app/controle_onglets.h"

#include <QTabBar>

namespace tq {

namespace {

class TBarreOngletsFixes : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int) const override { return TControleOnglets::TailleOnglet; }
    QSize minimumTabSizeHint(int) const override { return TControleOnglets::TailleOnglet; }
};

} // namespace

TControleOnglets::TControleOnglets(QWidget* parent)
    : QTabWidget(parent)
{
    // Set before any page is added: the tab bar cannot be changed afterwards.
    auto* barre = new TBarreOngletsFixes(this);
    barre->setExpanding(false);
    barre->setElideMode(Qt::ElideRight);
    barre->setUsesScrollButtons(true);
    setTabBar(barre);
}

} // namespace tq
