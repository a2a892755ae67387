#include "app/interface_utilisateur_qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "app/dialogue_enregistrement.h"
#include "app/reglages_qlocale.h"

namespace tq {

bool TInterfaceUtilisateurQt::Confirmer(const QString& message, const QString& titre)
{
    // No parent: the box is centred on the screen and still modal for the
    // whole program.
    QMessageBox boite(QMessageBox::Question, titre, message, QMessageBox::NoButton);
    QPushButton* oui = boite.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QPushButton* non = boite.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    boite.setDefaultButton(oui);
    boite.setEscapeButton(non);
    boite.exec();
    return boite.clickedButton() == oui;
}

void TInterfaceUtilisateurQt::AfficherErreur(const QString& message, const QString& titre)
{
    QMessageBox boite(QMessageBox::Critical, titre, message, QMessageBox::Ok, QApplication::activeWindow());
    boite.exec();
}

std::optional<QString> TInterfaceUtilisateurQt::ChoisirFichierEnregistrement(int typeFichier)
{
    QFileDialog dialogue(QApplication::activeWindow(), QString::fromUtf16(TitreDialogueEnregistrement));
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    dialogue.setOption(QFileDialog::DontConfirmOverwrite);
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    dialogue.setFileMode(QFileDialog::AnyFile);
    const QStringList filtres = FiltresEnregistrement();
    dialogue.setNameFilters(filtres);
    dialogue.selectNameFilter(filtres.at(IndiceFiltreEnregistrement(typeFichier)));
    if (!dernierFichier_.isEmpty())
        dialogue.selectFile(dernierFichier_);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return std::nullopt;
    dernierFichier_ = CheminAvecExtension(dialogue.selectedFiles().constFirst(),
                                          static_cast<int>(filtres.indexOf(dialogue.selectedNameFilter())));
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
