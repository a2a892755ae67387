#include "app/liste_fichiers_dialogue.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMimeDatabase>
#include <QScrollBar>
#include <QTreeView>

namespace tq {

namespace {

enum TColonne { Nom, Taille, Type, Modification };

const QLocale Francais(QLocale::French, QLocale::France);

QString TexteTaille(qint64 octets)
{
    return Francais.formattedDataSize(octets);
}

QString TexteModification(const QDateTime& moment)
{
    return Francais.toString(moment, QLocale::system().dateTimeFormat(QLocale::ShortFormat));
}

// The dialog's model seen through French words for the size and the date.
class TListeFichiersFrancais final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& indice, int role) const override
    {
        const auto* fichiers = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (fichiers == nullptr || role != Qt::DisplayRole
            || (indice.column() != Taille && indice.column() != Modification))
            return QIdentityProxyModel::data(indice, role);
        const QModelIndex source = mapToSource(indice);
        if (indice.column() == Modification)
            return TexteModification(fichiers->lastModified(source));
        return fichiers->isDir(source) ? QString() : TexteTaille(fichiers->size(source));
    }
};

// The widest text a column shows, among its title and samples of its values.
int LargeurColonne(const QTreeView& vue, int colonne, const QStringList& exemples)
{
    int largeur = vue.header()->sectionSizeHint(colonne);
    for (const QString& exemple : exemples)
        largeur =
            std::max(largeur, vue.fontMetrics().horizontalAdvance(exemple) + 2 * vue.fontMetrics().averageCharWidth());
    return largeur;
}

// Widens the dialog, as it is being shown and before it reaches the screen
// (its children have their sizes by then), by what its file list lacks to
// hold the four columns.
class TElargissement final : public QObject {
public:
    TElargissement(QTreeView& vue, QWidget* dialogue)
        : QObject(dialogue)
        , vue_(vue)
    {
    }

    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (evenement->type() != QEvent::Show)
            return false;
        auto& dialogue = static_cast<QWidget&>(*objet);
        int colonnes = 0;
        for (int colonne = Nom; colonne <= Modification; ++colonne)
            colonnes += vue_.header()->sectionSize(colonne);
        const int manque =
            colonnes + 2 * vue_.frameWidth() + vue_.verticalScrollBar()->sizeHint().width() - vue_.width();
        // A resize, not a move: the dialog places itself after this, with
        // its new size, as long as nothing has moved it.
        if (manque > 0)
            dialogue.resize(dialogue.width() + manque, dialogue.height());
        return false;
    }

private:
    QTreeView& vue_;
};

} // namespace

void PreparerListeFichiers(QFileDialog& dialogue)
{
    dialogue.setProxyModel(new TListeFichiersFrancais(&dialogue));
    auto* vue = dialogue.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (vue == nullptr)
        return;

    QStringList types { QCoreApplication::translate("QAbstractFileIconProvider", "Folder") };
    const QMimeDatabase baseTypes;
    for (const QString& filtre : dialogue.nameFilters())
        for (const QString& motif : filtre.section(u'(', 1).section(u')', 0, 0).split(u' ', Qt::SkipEmptyParts))
            types << baseTypes.mimeTypeForFile(QStringLiteral("x") + motif.mid(1), QMimeDatabase::MatchExtension)
                         .comment();
    const QDateTime exemple(QDate(2026, 12, 31), QTime(23, 59, 59));
    QHeaderView* entete = vue->header();
    entete->resizeSection(Taille, LargeurColonne(*vue, Taille, { TexteTaille(1023LL * 1024 * 1024 * 1023) }));
    entete->resizeSection(Type, LargeurColonne(*vue, Type, types));
    entete->resizeSection(Modification, LargeurColonne(*vue, Modification, { TexteModification(exemple) }));
    dialogue.installEventFilter(new TElargissement(*vue, &dialogue));
}

} // namespace tq
