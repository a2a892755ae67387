#include "app/application.h"

#include <exception>

#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QSettings>
#include <QWidget>

#include "app/commandes/message_echec.h"
#include "app/interface_utilisateur.h"

namespace tq {

namespace {

// Qt's French catalogue, built into the program so that no translation
// package is needed where it runs.
const QString CatalogueQtFrancais = QStringLiteral(":/traductions/qtbase_fr.qm");

// Points every settings file that Qt opens for itself (the save dialog's
// history, last folder and column widths) at `dossier`, a folder that lives
// as long as the run: the dialog remembers them within a run as usual, reads
// nothing left by an earlier run and leaves nothing for the next one.
void GarderReglagesQtDans(const QTemporaryDir& dossier)
{
    if (!dossier.isValid())
        return;
    // Files rather than the registry, where Windows would keep them.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    for (const QSettings::Format format : { QSettings::NativeFormat, QSettings::IniFormat })
        for (const QSettings::Scope portee : { QSettings::UserScope, QSettings::SystemScope })
            QSettings::setPath(format, portee, dossier.path());
}

} // namespace

TApplication::TApplication(int& argc, char** argv, IInterfaceUtilisateur& interfaceUtilisateur)
    : QApplication(argc, argv)
    , interfaceUtilisateur_(interfaceUtilisateur)
    , titre_(TitreApplication(applicationFilePath()))
{
    // Set on the application before any window exists, the font reaches every
    // control, those inside the page control included. Carlito has Calibri's
    // metrics.
    QFont police(QStringLiteral("Calibri"), 9);
    police.setFamilies({ QStringLiteral("Calibri"), QStringLiteral("Carlito") });
    setFont(police);

    if (traductionQt_.load(CatalogueQtFrancais))
        installTranslator(&traductionQt_);
    installTranslator(&complementQt_);
    // What Qt words through the default locale rather than a catalogue: the
    // kinds of files in the save dialog ("document CSV"). The regional
    // settings come from the system's locale, which this leaves alone.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    // The menu entry's icon, for the title bars, the task bar and Alt+Tab.
    // Without Qt's SVG plugin (Qt for Windows carries none) the same drawing
    // from the Windows icon file stands in; without either, the platform's
    // default icon is better than an empty one.
    QIcon icone(QStringLiteral(":/icones/tq_statistiques.svg"));
    if (icone.pixmap(16, 16).isNull())
        icone = QIcon(QStringLiteral(":/icones/tq_statistiques.ico"));
    if (!icone.pixmap(16, 16).isNull())
        setWindowIcon(icone);
    // Where the desktop takes the icon from the menu entry (Wayland).
    setDesktopFileName(QStringLiteral("tq_statistiques"));
    GarderReglagesQtDans(reglagesQt_);
}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject* destinataire, QEvent* evenement)
{
    try {
        return QApplication::notify(destinataire, evenement);
    } catch (const std::exception& echec) {
        AfficherEchec(QString::fromUtf8(MessageEchec(echec)));
    } catch (...) {
        AfficherEchec(QString::fromUtf8(MessageEchecInconnu()));
    }
    return false;
}

void TApplication::AfficherEchec(const QString& message)
{
    // A button or a view that held the mouse when its handler failed would
    // otherwise keep every click for itself.
    if (QWidget* capture = QWidget::mouseGrabber())
        capture->releaseMouse();
    interfaceUtilisateur_.AfficherErreur(message, titre_);
}

QString TitreApplication(const QString& cheminProgramme)
{
    QString nom = cheminProgramme.mid(cheminProgramme.lastIndexOf(u'/') + 1);
    const qsizetype point = nom.indexOf(u'.');
    if (point >= 0)
        nom.truncate(point);
    if (nom.size() > 1)
        nom = nom.front() + nom.mid(1).toLower();
    return nom;
}

} // namespace tq
