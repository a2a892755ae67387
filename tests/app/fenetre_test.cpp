#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/champ_date.h"
#include "app/ufrmPrincipale.h"
#include "interface_factice.h"

using namespace std::chrono;

namespace {

// The window with what the commands use made reachable.
class TFenetreSondee : public tq::TfrmPrincipale {
public:
    using tq::TfrmPrincipale::AjouterLog;
    using tq::TfrmPrincipale::lstCentre;
    using tq::TfrmPrincipale::ReglagesRegionaux;
    using tq::TfrmPrincipale::TfrmPrincipale;

    template <typename T = QWidget> T* Controle(const QString& nom)
    {
        T* controle = findChild<T*>(nom);
        if (controle == nullptr)
            qFatal("Contrôle absent : %s", qPrintable(nom));
        return controle;
    }
    QString Journal() { return Controle<QPlainTextEdit>("mmoLog")->toPlainText(); }
    QString TexteDate(const char* nom) { return Controle<tq::TChampDate>(nom)->findChild<QLineEdit*>()->text(); }
    void Afficher()
    {
        show();
        if (!QTest::qWaitForWindowExposed(this))
            qFatal("Fenêtre jamais affichée");
    }
};

// The nearest ancestor that the form names; Qt's inner widgets do not count.
QString ParentNomme(const QWidget& controle)
{
    for (const QWidget* parent = controle.parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
        if (!parent->objectName().isEmpty() && !parent->objectName().startsWith(QLatin1String("qt_")))
            return parent->objectName();
    }
    return {};
}

QString TexteDe(const QWidget& controle)
{
    if (const auto* bouton = qobject_cast<const QPushButton*>(&controle))
        return bouton->text();
    if (const auto* etiquette = qobject_cast<const QLabel*>(&controle))
        return etiquette->text();
    if (const auto* groupe = qobject_cast<const QGroupBox*>(&controle))
        return groupe->title();
    if (const auto* journal = qobject_cast<const QPlainTextEdit*>(&controle))
        return journal->toPlainText();
    return {};
}

} // namespace

class TTestFenetre : public QObject {
    Q_OBJECT

private slots:
    void controles_data()
    {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QRect>("geometrie");
        const auto ligne = [](const char* nom, const char* genre, const char* parent, const QString& texte, QRect r) {
            QTest::newRow(nom) << QString::fromLatin1(genre) << QString::fromLatin1(parent) << texte << r;
        };
        ligne("Panel1", "QFrame", "frmPrincipale", {}, { 3, 3, 729, 57 });
        ligne("btnQuitter", "QPushButton", "Panel1", "Quitter", { 600, 16, 121, 25 });
        ligne("bntListeCentreStat", "QPushButton", "Panel1", "Liste des centres", { 8, 16, 121, 25 });
        ligne("PageControl1", "QTabWidget", "frmPrincipale", {}, { 3, 66, 729, 390 });
        ligne("Label1", "QLabel", "tstStatistique", QStringLiteral("Début"), { 8, 16, 33, 14 });
        ligne("edtDebut", "tq::TChampDate", "tstStatistique", {}, { 8, 32, 97, 22 });
        ligne("Label2", "QLabel", "tstStatistique", "Fin", { 8, 56, 17, 14 });
        ligne("edtFin", "tq::TChampDate", "tstStatistique", {}, { 8, 72, 97, 22 });
        ligne("gbxGlobale", "QGroupBox", "tstStatistique", "Global", { 112, 16, 137, 329 });
        ligne("btnExporterGlobale", "QPushButton", "gbxGlobale", "Statistiques (CSV)", { 16, 24, 105, 25 });
        ligne("gbxCentre", "QGroupBox", "tstStatistique", "Centre", { 256, 16, 457, 329 });
        ligne("tvCentreStat", "QTreeWidget", "gbxCentre", {}, { 8, 24, 329, 297 });
        ligne("btnExporterCentre", "QPushButton", "gbxCentre", "Statistiques (CSV)", { 344, 296, 105, 25 });
        ligne("btnListeCentre", "QPushButton", "tstCentre", "Liste des centres (JSON)", { 352, 14, 177, 25 });
        ligne("tvCentreGestion", "QTreeWidget", "tstCentre", {}, { 8, 16, 329, 329 });
        ligne("btnListeAcces", "QPushButton", "tstKOVA", QStringLiteral("Liste des accès (CSV)"), { 8, 6, 161, 25 });
        ligne("mmoLog", "QPlainTextEdit", "frmPrincipale", {}, { 3, 462, 729, 152 });
    }
    void controles()
    {
        QFETCH(QString, genre);
        QFETCH(QString, parent);
        QFETCH(QString, texte);
        QFETCH(QRect, geometrie);
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        fenetre.Afficher();
        QCOMPARE(fenetre.size(), QSize(735, 617));
        QWidget* controle = fenetre.Controle(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY2(controle->inherits(genre.toLatin1().constData()), controle->metaObject()->className());
        QCOMPARE(ParentNomme(*controle), parent);
        QCOMPARE(TexteDe(*controle), texte);
        QCOMPARE(controle->geometry(), geometrie);
    }

    void redimensionnement_data()
    {
        QTest::addColumn<QSize>("taille");
        QTest::newRow("plus grande") << QSize(1024, 768);
        QTest::newRow("plus petite") << QSize(640, 480);
        QTest::newRow("plus large seulement") << QSize(1200, 617);
    }
    void redimensionnement()
    {
        QFETCH(QSize, taille);
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        fenetre.Afficher();
        fenetre.resize(taille);
        QTRY_COMPARE(fenetre.size(), taille);
        fenetre.layout()->activate();
        const int w = taille.width(), h = taille.height();
        QCOMPARE(fenetre.Controle("Panel1")->geometry(), QRect(3, 3, w - 6, 57));
        QCOMPARE(fenetre.Controle("PageControl1")->geometry(), QRect(3, 66, w - 6, h - 66 - 6 - 152 - 3));
        QCOMPARE(fenetre.Controle("mmoLog")->geometry(), QRect(3, h - 3 - 152, w - 6, 152));
        QCOMPARE(fenetre.Controle("btnQuitter")->geometry(), QRect(600, 16, 121, 25));
        QCOMPARE(fenetre.Controle("gbxCentre")->geometry(), QRect(256, 16, 457, 329));
    }

    void etatAuDemarrage()
    {
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        fenetre.Afficher();
        QCOMPARE(fenetre.windowTitle(), QStringLiteral("TQ Statistique"));
        auto* pages = fenetre.Controle<QTabWidget>("PageControl1");
        QCOMPARE(pages->currentWidget(), fenetre.Controle("tstStatistique"));
        QStringList onglets;
        for (int i = 0; i < pages->count(); ++i) {
            onglets << pages->tabText(i);
            QCOMPARE(pages->tabBar()->tabRect(i).size(), QSize(160, 32));
        }
        QCOMPARE(onglets, (QStringList { "Statistiques", "Gestion des centres", "KOVA" }));
        QVERIFY(fenetre.Journal().isEmpty());
        QCOMPARE(fenetre.Controle<QTreeWidget>("tvCentreStat")->topLevelItemCount(), 0);
        QCOMPARE(fenetre.Controle<QTreeWidget>("tvCentreGestion")->topLevelItemCount(), 0);
        QVERIFY(fenetre.lstCentre.empty());
        // Every button works but the "Centre" group's export; none is a default button.
        for (QPushButton* bouton : fenetre.findChildren<QPushButton*>()) {
            QVERIFY2(bouton->isEnabled() == (bouton->objectName() != "btnExporterCentre"),
                     qPrintable(bouton->objectName()));
            QVERIFY2(!bouton->isDefault() && !bouton->autoDefault(), qPrintable(bouton->objectName()));
        }
        // Calibri, or Carlito with its metrics, 9 points (12 pixels at 96 dpi), inside the pages too.
        for (const char* nom : { "btnQuitter", "Label1", "btnListeAcces", "tvCentreGestion", "mmoLog" }) {
            const QFontInfo police(fenetre.Controle(nom)->font());
            QVERIFY2(police.family() == "Carlito" || police.family() == "Calibri", qPrintable(police.family()));
            QCOMPARE(police.pointSize(), 9);
            QCOMPARE(police.pixelSize(), 12);
        }
        auto* mmoLog = fenetre.Controle<QPlainTextEdit>("mmoLog");
        QVERIFY(!mmoLog->isReadOnly());
        QCOMPARE(mmoLog->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(mmoLog->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(mmoLog->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        const QPoint ecart = fenetre.frameGeometry().center() - fenetre.screen()->availableGeometry().center();
        QVERIFY2(ecart.manhattanLength() <= 2, "la fenêtre n'est pas centrée sur l'écran");
        QVERIFY(iu.confirmations.isEmpty() && iu.erreurs.isEmpty());
    }

    void datesParDefaut_data()
    {
        QTest::addColumn<QDateTime>("maintenant");
        QTest::addColumn<QString>("debut");
        QTest::addColumn<QString>("fin");
        QTest::newRow("fevrier bissextile") << QDateTime({ 2024, 2, 10 }, { 12, 0 }) << "01/02/2024"
                                            << "29/02/2024";
        QTest::newRow("fevrier commun") << QDateTime({ 2023, 2, 15 }, { 8, 30 }) << "01/02/2023"
                                        << "28/02/2023";
        QTest::newRow("fevrier 2000") << QDateTime({ 2000, 2, 29 }, { 0, 0 }) << "01/02/2000"
                                      << "29/02/2000";
        QTest::newRow("fevrier 2100") << QDateTime({ 2100, 2, 1 }, { 0, 0 }) << "01/02/2100"
                                      << "28/02/2100";
        QTest::newRow("decembre") << QDateTime({ 2023, 12, 31 }, { 23, 59, 59, 999 }) << "01/12/2023"
                                  << "31/12/2023";
        QTest::newRow("avril") << QDateTime({ 2019, 4, 1 }, { 0, 0 }) << "01/04/2019"
                               << "30/04/2019";
    }
    void datesParDefaut()
    {
        QFETCH(QDateTime, maintenant);
        QFETCH(QString, debut);
        QFETCH(QString, fin);
        TInterfaceFactice iu;
        iu.maintenant = maintenant;
        TFenetreSondee fenetre(iu);
        QCOMPARE(fenetre.TexteDate("edtDebut"), debut);
        QCOMPARE(fenetre.TexteDate("edtFin"), fin);
        const QDate d = maintenant.date();
        const year_month_day premier = year { d.year() } / month { static_cast<unsigned>(d.month()) } / 1;
        QVERIFY(fenetre.Controle<tq::TChampDate>("edtDebut")->Date() == premier);
        QVERIFY(fenetre.Controle<tq::TChampDate>("edtFin")->Date()
                == year_month_day { premier.year() / premier.month() / last });
    }

    void quitter_data()
    {
        QTest::addColumn<bool>("reponse");
        QTest::newRow("Non") << false;
        QTest::newRow("Oui") << true;
    }
    void quitter()
    {
        QFETCH(bool, reponse);
        TInterfaceFactice iu;
        iu.reponses.enqueue(reponse);
        TFenetreSondee fenetre(iu);
        fenetre.lstCentre.resize(2);
        fenetre.Afficher();
        QTest::mouseClick(fenetre.Controle("btnQuitter"), Qt::LeftButton);
        QCOMPARE(iu.confirmations.size(), 1);
        QCOMPARE(iu.confirmations[0].message, QStringLiteral("Etes-vous sûr(e) de vouloir quitter l'application ?"));
        QCOMPARE(iu.confirmations[0].titre, QStringLiteral("Confirmer"));
        QCOMPARE(fenetre.isVisible(), !reponse);
        QCOMPARE(fenetre.lstCentre.size(), reponse ? 0U : 2U);
        QVERIFY(fenetre.Journal().isEmpty());
        QCOMPARE(fenetre.TexteDate("edtDebut"), QStringLiteral("01/03/2019"));
    }

    void fermetureParLeCadreSansQuestion()
    {
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        fenetre.lstCentre.resize(2);
        fenetre.Afficher();
        QVERIFY(fenetre.close());
        QVERIFY(!fenetre.isVisible());
        QVERIFY(iu.confirmations.isEmpty());
        QVERIFY(fenetre.lstCentre.empty());
    }

    void journal_data()
    {
        QTest::addColumn<QTime>("heure");
        QTest::addColumn<QChar>("separateur");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("ligne");
        QTest::newRow("exemple") << QTime(9, 5, 3, 7) << QChar(u':') << "Interrogation en cours..."
                                 << "09:05:03.007: Interrogation en cours...";
        QTest::newRow("separateur point") << QTime(23, 59, 59, 999) << QChar(u'.') << QStringLiteral("Terminé")
                                          << QStringLiteral("23.59.59.999: Terminé");
        QTest::newRow("minuit texte vide") << QTime(0, 0) << QChar(u':') << QString() << "00:00:00.000: ";
        QTest::newRow("corps d'erreur") << QTime(10, 0, 0, 1) << QChar(u':') << QStringLiteral("Erreur: {\"a\":\"é\"}")
                                        << QStringLiteral("10:00:00.001: Erreur: {\"a\":\"é\"}");
    }
    void journal()
    {
        QFETCH(QTime, heure);
        QFETCH(QChar, separateur);
        QFETCH(QString, texte);
        QFETCH(QString, ligne);
        TInterfaceFactice iu;
        iu.reglages.separateurHeure = separateur.unicode();
        TFenetreSondee fenetre(iu);
        // A line the user typed stays; each entry is a new last line.
        fenetre.Controle<QPlainTextEdit>("mmoLog")->setPlainText(QStringLiteral("note"));
        iu.maintenant.setTime(heure);
        fenetre.AjouterLog(texte.toStdU16String());
        fenetre.AjouterLog(u"Terminé");
        const QString fin = ligne.left(14) + QStringLiteral("Terminé");
        QCOMPARE(fenetre.Journal(), QStringLiteral("note\n") + ligne + u'\n' + fin);
    }

    void changementDeReglages()
    {
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        QCOMPARE(fenetre.TexteDate("edtDebut"), QStringLiteral("01/03/2019"));
        // The desktop announces new settings: month first, "-", "." between hours.
        iu.reglages = tq::TReglagesRegionaux { u"M-d-yyyy", u'-', u'.', u'.' };
        QEvent changement(QEvent::LocaleChange);
        QCoreApplication::sendEvent(&fenetre, &changement);
        QVERIFY(fenetre.ReglagesRegionaux() == iu.reglages);
        QCOMPARE(fenetre.TexteDate("edtDebut"), QStringLiteral("03-01-2019"));
        QCOMPARE(fenetre.TexteDate("edtFin"), QStringLiteral("03-31-2019"));
        fenetre.AjouterLog(u"x");
        QCOMPARE(fenetre.Journal(), QStringLiteral("09.05.03.007: x"));
    }

    void menusContextuelsEnFrancais_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::newRow("mmoLog") << "mmoLog";
        QTest::newRow("edtDebut") << "edtDebut";
    }
    // The right-click menus are Qt's own, in French whatever the user's language.
    void menusContextuelsEnFrancais()
    {
        QFETCH(QString, nom);
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        QWidget* controle = fenetre.Controle(nom);
        const std::unique_ptr<QMenu> menu(qobject_cast<QPlainTextEdit*>(controle) != nullptr
                                              ? qobject_cast<QPlainTextEdit*>(controle)->createStandardContextMenu()
                                              : controle->findChild<QLineEdit*>()->createStandardContextMenu());
        QStringList textes;
        for (const QAction* action : menu->actions())
            textes << action->text();
        QCOMPARE(textes, (QStringList { QStringLiteral("&Annuler\tCtrl+Z"),
                                        QStringLiteral("&Rétablir\tCtrl+Y"),
                                        {},
                                        QStringLiteral("Co&uper\tCtrl+X"),
                                        QStringLiteral("Cop&ier\tCtrl+C"),
                                        QStringLiteral("Co&ller\tCtrl+V"),
                                        QStringLiteral("Supprimer"),
                                        {},
                                        QStringLiteral("Tout sélectionner\tCtrl+A") }));
    }

    void arbres_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::newRow("tvCentreStat") << "tvCentreStat";
        QTest::newRow("tvCentreGestion") << "tvCentreGestion";
    }
    void arbres()
    {
        QFETCH(QString, nom);
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        auto* arbre = fenetre.Controle<QTreeWidget>(nom);
        QCOMPARE(arbre->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!arbre->rootIsDecorated() && !arbre->itemsExpandable() && arbre->isHeaderHidden());
        QCOMPARE(arbre->indentation(), 19);
        const QPalette palette = arbre->palette();
        for (const QPalette::ColorRole role : { QPalette::Highlight, QPalette::HighlightedText })
            QCOMPARE(palette.color(QPalette::Inactive, role), palette.color(QPalette::Active, role));
        // An item cannot be edited in place.
        auto* element = new QTreeWidgetItem(arbre, QStringList { QStringLiteral("Centre de Lyon") });
        QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
        arbre->editItem(element);
        QVERIFY(arbre->indexWidget(arbre->model()->index(0, 0)) == nullptr);
    }

    // Enter on a focused button presses it, as Space does; Enter elsewhere
    // presses nothing, since no button is the window's default.
    void entreeSurUnBouton_data()
    {
        QTest::addColumn<QString>("controle");
        QTest::addColumn<int>("touche");
        QTest::addColumn<int>("questions");
        QTest::newRow("Entree") << "btnQuitter" << int(Qt::Key_Return) << 1;
        QTest::newRow("Entree du pave") << "btnQuitter" << int(Qt::Key_Enter) << 1;
        QTest::newRow("Espace") << "btnQuitter" << int(Qt::Key_Space) << 1;
        QTest::newRow("champ de date") << "edtDebut" << int(Qt::Key_Return) << 0;
    }
    void entreeSurUnBouton()
    {
        QFETCH(QString, controle);
        QFETCH(int, touche);
        QFETCH(int, questions);
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenetre));
        QWidget* cible = fenetre.Controle(controle);
        cible->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(touche),
                        touche == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(iu.confirmations.size(), questions);
    }

    // Reached with the keyboard, a centre list shows it has the focus: its
    // frame takes the highlight colour, and gives it up with the focus.
    void focusVisibleSurLesArbres()
    {
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenetre));
        auto* arbre = fenetre.Controle<QTreeWidget>("tvCentreStat");
        const QColor surbrillance = arbre->palette().color(QPalette::Active, QPalette::Highlight);
        const auto couleurDuCadre = [arbre] { return arbre->grab().toImage().pixelColor(0, arbre->height() / 2); };
        fenetre.Controle("btnExporterGlobale")->setFocus(Qt::TabFocusReason);
        QVERIFY(couleurDuCadre() != surbrillance);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), arbre);
        QCOMPARE(couleurDuCadre(), surbrillance);
    }

    // Every window bears the program's icon, drawn from its menu entry's.
    void icone()
    {
        const QImage image = QApplication::windowIcon().pixmap(64, 64).toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(image.pixelColor(32, 4), QColor(0x1f, 0x4e, 0x79));
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        QCOMPARE(fenetre.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

    void ordreTabulation()
    {
        TInterfaceFactice iu;
        TFenetreSondee fenetre(iu);
        const QStringList attendu { "PageControl1",       "edtDebut",           "edtFin",
                                    "btnExporterGlobale", "tvCentreStat",       "btnExporterCentre",
                                    "btnListeCentre",     "tvCentreGestion",    "btnListeAcces",
                                    "btnQuitter",         "bntListeCentreStat", "mmoLog" };
        QStringList ordre;
        QWidget* depart = fenetre.Controle("PageControl1");
        QWidget* courant = depart;
        do {
            if (attendu.contains(courant->objectName()) && !ordre.contains(courant->objectName()))
                ordre << courant->objectName();
            courant = courant->nextInFocusChain();
        } while (courant != depart);
        QCOMPARE(ordre, attendu);

        // With the keyboard, the disabled export and the hidden pages are skipped.
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenetre));
        fenetre.Controle("btnExporterGlobale")->setFocus();
        QStringList parTabulation;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            parTabulation << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(parTabulation, (QStringList { "tvCentreStat", "btnQuitter", "bntListeCentreStat", "mmoLog" }));
    }
};

TQ_TEST_FENETRE_MAIN(TTestFenetre)
#include "fenetre_test.moc"
