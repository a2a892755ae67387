#include "app/entree_boutons.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tq {

namespace {

class TEntreeSurBouton final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (evenement->type() != QEvent::KeyPress)
            return false;
        const auto* touche = static_cast<QKeyEvent*>(evenement);
        const bool entree = touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter;
        auto* bouton = qobject_cast<QPushButton*>(objet);
        if (!entree || bouton == nullptr || (touche->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!touche->isAutoRepeat())
            bouton->click();
        return true;
    }
};

} // namespace

void ActiverEntreeSurBoutons(QWidget& fenetre)
{
    auto* filtre = new TEntreeSurBouton(&fenetre);
    for (QPushButton* bouton : fenetre.findChildren<QPushButton*>())
        bouton->installEventFilter(filtre);
}

} // namespace tq
