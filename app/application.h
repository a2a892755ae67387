#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTranslator>

#include "app/catalogue_complementaire.h"

namespace tq {

class IInterfaceUtilisateur;

// The program's application object. Qt's own texts (the save dialog, the
// right-click menus, the calendar) are French whatever the user's language,
// every window bears the program's icon, Qt keeps nothing of a run for the
// next one, and a failure that leaves an event handler uncaught is shown in
// the failure box while the event loop goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    // The failure box is shown through `interfaceUtilisateur`, which must
    // outlive the application object.
    TApplication(int& argc, char** argv, IInterfaceUtilisateur& interfaceUtilisateur);
    ~TApplication() override;

    bool notify(QObject* destinataire, QEvent* evenement) override;

private:
    void AfficherEchec(const QString& message);

    IInterfaceUtilisateur& interfaceUtilisateur_;
    QString titre_;
    QTranslator traductionQt_;
    TCatalogueComplementaire complementQt_;
    QTemporaryDir reglagesQt_;
};

// The application title, the failure box's caption: the program file's name
// without its folder nor anything from its first full stop on, every letter
// after the first in lower case ("/opt/TQ_Stat.bin" gives "Tq_stat").
QString TitreApplication(const QString& cheminProgramme);

} // namespace tq
