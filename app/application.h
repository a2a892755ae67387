#pragma once

#include <memory>

#include <QApplication>

namespace tq {

class IInterfaceUtilisateur;

// The program's application object. A failure that leaves an event handler
// uncaught is shown in the failure box, and the event loop goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* destinataire, QEvent* evenement) override;

    // Where the failure box is shown; nullptr gives back the desktop's own.
    // The interface must outlive its use here.
    void DefinirInterfaceUtilisateur(IInterfaceUtilisateur* interfaceUtilisateur);

private:
    void AfficherFaillite(const QString& message);

    std::unique_ptr<IInterfaceUtilisateur> interfaceBureau_;
    IInterfaceUtilisateur* interfaceUtilisateur_;
    QString titre_;
};

} // namespace tq
