#pragma once

class QWidget;

namespace tq {

// Enter and Return on a push button of `fenetre` that has the focus press it,
// as Space does. The window has no default button for them to reach, and a
// button outside a dialog ignores them otherwise.
void ActiverEntreeSurBoutons(QWidget& fenetre);

} // namespace tq
