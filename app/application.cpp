#include "app/application.h"

#include <exception>

#include <QFont>
#include <QWidget>

#include "app/interface_utilisateur_qt.h"
#include "app/message_faillite.h"

namespace tq {

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
    , interfaceBureau_(std::make_unique<TInterfaceUtilisateurQt>())
    , interfaceUtilisateur_(interfaceBureau_.get())
    , titre_(TitreApplication(applicationFilePath()))
{
    // Set on the application before any window exists, the font reaches every
    // control, those inside the page control included. Carlito has Calibri's
    // metrics.
    QFont police(QStringLiteral("Calibri"), 9);
    police.setFamilies({ QStringLiteral("Calibri"), QStringLiteral("Carlito") });
    setFont(police);
}

TApplication::~TApplication() = default;

void TApplication::DefinirInterfaceUtilisateur(IInterfaceUtilisateur* interfaceUtilisateur)
{
    interfaceUtilisateur_ = interfaceUtilisateur != nullptr ? interfaceUtilisateur : interfaceBureau_.get();
}

bool TApplication::notify(QObject* destinataire, QEvent* evenement)
{
    try {
        return QApplication::notify(destinataire, evenement);
    } catch (const std::exception& faillite) {
        AfficherFaillite(MessageFaillite(faillite));
    } catch (...) {
        AfficherFaillite(MessageFailliteInconnue());
    }
    return false;
}

void TApplication::AfficherFaillite(const QString& message)
{
    // A button or a view that held the mouse when its handler failed would
    // otherwise keep every click for itself.
    if (QWidget* capture = QWidget::mouseGrabber())
        capture->releaseMouse();
    interfaceUtilisateur_->AfficherErreur(message, titre_);
}

} // namespace tq
