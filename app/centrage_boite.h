#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace tq {

// The top-left corner of a frame of size `cadre` (the box and the window
// manager's decoration around it) centred on `zone`, a screen's available
// area; a frame larger than the area starts at its top or left edge.
QPoint CoinCadreCentre(QSize cadre, const QRect& zone);

// Sizes the box and places it, its frame included, in the middle of the
// screen of the active window (of the primary screen when none is active).
// To be called just before the box is shown. Its frame is not known before
// then: the program's other windows have the same decoration, none without a
// window manager.
void CentrerSurEcran(QWidget& boite);

} // namespace tq
