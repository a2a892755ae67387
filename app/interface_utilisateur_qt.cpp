#include "app/interface_utilisateur_qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "app/centrage_boite.h"
#include "app/dialogue_enregistrement.h"
#include "app/liste_fichiers_dialogue.h"
#include "app/reglages_qlocale.h"

namespace tq {

bool TInterfaceUtilisateurQt::Confirmer(const QString& message, const QString& titre)
{
    // No parent: the box is still modal for the whole program.
    QMessageBox boite(QMessageBox::Question, titre, message, QMessageBox::NoButton);
    // "&Oui" then "&Non" on every desktop: the yes and no roles would let the
    // desktop's button layout swap them (GNOME and macOS put "no" first),
    // while buttons of one action role keep the order they were added in.
    QPushButton* oui = boite.addButton(QStringLiteral("&Oui"), QMessageBox::ActionRole);
    QPushButton* non = boite.addButton(QStringLiteral("&Non"), QMessageBox::ActionRole);
    boite.setDefaultButton(oui);
    boite.setEscapeButton(non);
    CentrerSurEcran(boite);
    boite.exec();
    return boite.clickedButton() == oui;
}

void TInterfaceUtilisateurQt::AfficherErreur(const QString& message, const QString& titre)
{
    QMessageBox boite(QMessageBox::Critical, titre, message, QMessageBox::Ok, QApplication::activeWindow());
    CentrerSurEcran(boite);
    boite.exec();
}

std::optional<QString> TInterfaceUtilisateurQt::ChoisirFichierEnregistrement(TTypeFichier typeFichier)
{
    QFileDialog dialogue(QApplication::activeWindow(), QString::fromUtf16(TitreDialogueEnregistrement));
    // Windows' own dialog, the one its users know, honours the title, the
    // types and the proposed name; elsewhere Qt's own, whose file list and
    // French texts are set up here (the Linux desktops' dialogs would show
    // neither the same way).
    const bool dialogueDuSysteme = dialogue_ == TDialogueEnregistrement::DeLaPlateforme
                                && QGuiApplication::platformName() == QLatin1String("windows");
    dialogue.setOption(QFileDialog::DontUseNativeDialog, !dialogueDuSysteme);
    dialogue.setOption(QFileDialog::DontConfirmOverwrite);
    // The list of types shows "Fichier CSV" and the like alone; each type
    // still lists only the files of its pattern.
    dialogue.setOption(QFileDialog::HideNameFilterDetails);
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    dialogue.setFileMode(QFileDialog::AnyFile);
    const QStringList filtres = FiltresEnregistrement();
    dialogue.setNameFilters(filtres);
    dialogue.selectNameFilter(filtres.at(IndiceFiltreEnregistrement(typeFichier)));
    if (!dialogueDuSysteme)
        PreparerListeFichiers(dialogue);
    if (!dernierFichier_.isEmpty())
        dialogue.selectFile(dernierFichier_);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return std::nullopt;
    dernierFichier_ =
        CheminAvecExtension(dialogue.selectedFiles().constFirst(), IndiceFiltreChoisi(dialogue.selectedNameFilter()));
    return dernierFichier_;
}

QDateTime TInterfaceUtilisateurQt::Maintenant()
{
    return QDateTime::currentDateTime();
}

TReglagesRegionaux TInterfaceUtilisateurQt::LireReglagesRegionaux()
{
    return ReglagesDepuisQLocale(QLocale::system());
}

void TInterfaceUtilisateurQt::OuvrirDocument(const QString& chemin)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(chemin));
}

void TInterfaceUtilisateurQt::AfficherCurseurOccupe()
{
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TInterfaceUtilisateurQt::RestaurerCurseur()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace tq
