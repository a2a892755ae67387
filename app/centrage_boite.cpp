#include "app/centrage_boite.h"

#include <algorithm>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace tq {

namespace {

// The decoration of the box's own window if the platform already knows it,
// else that of a window of the program on screen.
QMargins MargesDuCadre(QWidget& boite)
{
    if (const QWindow* fenetre = boite.windowHandle(); fenetre != nullptr && !fenetre->frameMargins().isNull())
        return fenetre->frameMargins();
    for (const QWidget* autre : QApplication::topLevelWidgets())
        if (autre != &boite && autre->isVisible() && autre->windowHandle() != nullptr)
            return autre->windowHandle()->frameMargins();
    return {};
}

} // namespace

QPoint CoinCadreCentre(QSize cadre, const QRect& zone)
{
    // A box larger than the screen keeps its title bar and its left edge on it.
    return zone.topLeft()
         + QPoint(std::max(0, (zone.width() - cadre.width()) / 2), std::max(0, (zone.height() - cadre.height()) / 2));
}

void CentrerSurEcran(QWidget& boite)
{
    const QWidget* active = QApplication::activeWindow();
    const QScreen* ecran = active != nullptr ? active->screen() : QGuiApplication::primaryScreen();
    if (ecran == nullptr)
        return;
    boite.adjustSize();
    const QMargins marges = MargesDuCadre(boite);
    const QSize cadre = boite.size().grownBy(marges);
    // A window's position is that of its frame.
    boite.move(CoinCadreCentre(cadre, ecran->availableGeometry()));
}

} // namespace tq
