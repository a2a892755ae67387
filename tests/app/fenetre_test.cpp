#include <QGroupBox>
#include <QLabel>
#include <QLayout>
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

// The window with what the next engineer's commands use made reachable.
class TFenetreSondee : public tq::TfrmPrincipale {
public:
    using tq::TfrmPrincipale::TfrmPrincipale;
    using tq::TfrmPrincipale::AjouterLog;
    using tq::TfrmPrincipale::ReglagesRegionaux;
    using tq::TfrmPrincipale::lstCentre;

    void RemplirRepertoire()
    {
        for (const char16_t* enseigne : { u"Centre de Lyon", u"Centre d'Annecy" }) {
            tq::TEnr_Centre centre;
            centre.enseigne = enseigne;
            lstCentre.push_back(centre);
        }
    }
};

template <typename T = QWidget>
T* Controle(QWidget& fenetre, const char* nom)
{
    T* controle = fenetre.findChild<T*>(QString::fromLatin1(nom));
    if (controle == nullptr)
        qFatal("Contrôle absent : %s", nom);
    return controle;
}

// The nearest ancestor that the form names; Qt's own inner widgets
// ("qt_tabwidget_stackedwidget") do not count.
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

QString TexteOnglet(QWidget& fenetre, QWidget& page)
{
    auto* onglets = Controle<QTabWidget>(fenetre, "PageControl1");
    return onglets->tabText(onglets->indexOf(&page));
}

year_month_day Jour(int a, unsigned m, unsigned j) { return year { a } / month { m } / day { j }; }

} // namespace

class TTestFenetre : public QObject {
    Q_OBJECT

private slots:
    void controles_data();
    void controles();
    void redimensionnement_data();
    void redimensionnement();
    void ouvertureSurStatistiques();
    void datesParDefaut_data();
    void datesParDefaut();
    void quitter_data();
    void quitter();
    void fermetureParLeCadreSansQuestion();
    void journal_data();
    void journal();
    void journalAjouteDesLignes();
    void changementDeReglages();
    void arbres_data();
    void arbres();
    void zoneJournal();
    void ordreTabulation();
    void ongletsEtPolice();
    void aucunBoutonParDefaut();
    void centreeSurLEcran();
};

void TTestFenetre::controles_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("genre");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QRect>("geometrie");

    const auto ligne = [](const char* nom, const char* genre, const char* parent, const QString& texte, QRect r) {
        QTest::newRow(nom) << QString::fromLatin1(nom) << QString::fromLatin1(genre) << QString::fromLatin1(parent)
                           << texte << r;
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

void TTestFenetre::controles()
{
    QFETCH(QString, nom);
    QFETCH(QString, genre);
    QFETCH(QString, parent);
    QFETCH(QString, texte);
    QFETCH(QRect, geometrie);

    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    QCOMPARE(fenetre.objectName(), QStringLiteral("frmPrincipale"));
    QCOMPARE(fenetre.size(), QSize(735, 617));

    QWidget* controle = Controle(fenetre, nom.toLatin1().constData());
    QVERIFY2(controle->inherits(genre.toLatin1().constData()), controle->metaObject()->className());
    QCOMPARE(ParentNomme(*controle), parent);
    QCOMPARE(TexteDe(*controle), texte);
    QCOMPARE(controle->geometry(), geometrie);
}

void TTestFenetre::redimensionnement_data()
{
    QTest::addColumn<QSize>("taille");
    QTest::newRow("taille d'origine") << QSize(735, 617);
    QTest::newRow("plus grande") << QSize(1024, 768);
    QTest::newRow("plus petite") << QSize(640, 480);
    QTest::newRow("plus large seulement") << QSize(1200, 617);
}

void TTestFenetre::redimensionnement()
{
    QFETCH(QSize, taille);
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    fenetre.resize(taille);
    QTRY_COMPARE(fenetre.size(), taille);
    fenetre.layout()->activate();

    const int w = taille.width(), h = taille.height();
    QCOMPARE(Controle(fenetre, "Panel1")->geometry(), QRect(3, 3, w - 6, 57));
    QCOMPARE(Controle(fenetre, "PageControl1")->geometry(), QRect(3, 66, w - 6, h - 66 - 6 - 152 - 3));
    QCOMPARE(Controle(fenetre, "mmoLog")->geometry(), QRect(3, h - 3 - 152, w - 6, 152));
    // Controls inside the panel and the pages keep their place and size.
    QCOMPARE(Controle(fenetre, "btnQuitter")->geometry(), QRect(600, 16, 121, 25));
    QCOMPARE(Controle(fenetre, "gbxCentre")->geometry(), QRect(256, 16, 457, 329));
}

void TTestFenetre::ouvertureSurStatistiques()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    QCOMPARE(fenetre.windowTitle(), QStringLiteral("TQ Statistique"));
    QCOMPARE(Controle<QTabWidget>(fenetre, "PageControl1")->currentWidget(), Controle(fenetre, "tstStatistique"));
    QCOMPARE(Controle<QTabWidget>(fenetre, "PageControl1")->count(), 3);
    QCOMPARE(TexteOnglet(fenetre, *Controle(fenetre, "tstStatistique")), QStringLiteral("Statistiques"));
    QCOMPARE(TexteOnglet(fenetre, *Controle(fenetre, "tstCentre")), QStringLiteral("Gestion des centres"));
    QCOMPARE(TexteOnglet(fenetre, *Controle(fenetre, "tstKOVA")), QStringLiteral("KOVA"));
    QVERIFY(Controle<QPlainTextEdit>(fenetre, "mmoLog")->toPlainText().isEmpty());
    QCOMPARE(Controle<QTreeWidget>(fenetre, "tvCentreStat")->topLevelItemCount(), 0);
    QCOMPARE(Controle<QTreeWidget>(fenetre, "tvCentreGestion")->topLevelItemCount(), 0);

    // Every control is usable but the "Centre" group's export.
    for (QPushButton* bouton : fenetre.findChildren<QPushButton*>()) {
        const bool attendu = bouton->objectName() != QLatin1String("btnExporterCentre");
        QVERIFY2(bouton->isEnabled() == attendu, qPrintable(bouton->objectName()));
    }
    // Asked nothing, showed nothing.
    QVERIFY(iu.confirmations.isEmpty());
    QVERIFY(iu.erreurs.isEmpty());
}

void TTestFenetre::datesParDefaut_data()
{
    QTest::addColumn<QDateTime>("maintenant");
    QTest::addColumn<QString>("debut");
    QTest::addColumn<QString>("fin");

    QTest::newRow("fevrier bissextile") << QDateTime(QDate(2024, 2, 10), QTime(12, 0)) << "01/02/2024" << "29/02/2024";
    QTest::newRow("fevrier commun") << QDateTime(QDate(2023, 2, 15), QTime(8, 30)) << "01/02/2023" << "28/02/2023";
    QTest::newRow("fevrier 2000 bissextile") << QDateTime(QDate(2000, 2, 29), QTime(0, 0)) << "01/02/2000"
                                            << "29/02/2000";
    QTest::newRow("fevrier 2100 commun") << QDateTime(QDate(2100, 2, 1), QTime(0, 0)) << "01/02/2100"
                                         << "28/02/2100";
    QTest::newRow("decembre dernier instant") << QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 999))
                                              << "01/12/2023" << "31/12/2023";
    QTest::newRow("avril trente jours") << QDateTime(QDate(2019, 4, 1), QTime(0, 0)) << "01/04/2019" << "30/04/2019";
}

void TTestFenetre::datesParDefaut()
{
    QFETCH(QDateTime, maintenant);
    QFETCH(QString, debut);
    QFETCH(QString, fin);

    TInterfaceFactice iu;
    iu.maintenant = maintenant;
    TFenetreSondee fenetre(iu);
    auto* edtDebut = Controle<tq::TChampDate>(fenetre, "edtDebut");
    auto* edtFin = Controle<tq::TChampDate>(fenetre, "edtFin");
    QCOMPARE(edtDebut->Texte(), debut);
    QCOMPARE(edtFin->Texte(), fin);

    const QDate jour = maintenant.date();
    QVERIFY(edtDebut->Date() == Jour(jour.year(), static_cast<unsigned>(jour.month()), 1));
    QVERIFY(edtFin->Date() ==
            Jour(jour.year(), static_cast<unsigned>(jour.month()), static_cast<unsigned>(jour.daysInMonth())));
}

void TTestFenetre::quitter_data()
{
    QTest::addColumn<bool>("reponse");
    QTest::newRow("Non") << false;
    QTest::newRow("Oui") << true;
}

void TTestFenetre::quitter()
{
    QFETCH(bool, reponse);

    TInterfaceFactice iu;
    iu.reponses.enqueue(reponse);
    TFenetreSondee fenetre(iu);
    fenetre.RemplirRepertoire();
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const QString debut = Controle<tq::TChampDate>(fenetre, "edtDebut")->Texte();

    QTest::mouseClick(Controle(fenetre, "btnQuitter"), Qt::LeftButton);

    QCOMPARE(iu.confirmations.size(), 1);
    QCOMPARE(iu.confirmations[0].message, QStringLiteral("Etes-vous sûr(e) de vouloir quitter l'application ?"));
    QCOMPARE(iu.confirmations[0].titre, QStringLiteral("Confirmer"));
    QCOMPARE(fenetre.isVisible(), !reponse);
    QCOMPARE(fenetre.lstCentre.size(), reponse ? 0U : 2U);
    QVERIFY(Controle<QPlainTextEdit>(fenetre, "mmoLog")->toPlainText().isEmpty());
    QCOMPARE(Controle<tq::TChampDate>(fenetre, "edtDebut")->Texte(), debut);
    QVERIFY(iu.erreurs.isEmpty());
}

void TTestFenetre::fermetureParLeCadreSansQuestion()
{
    TInterfaceFactice iu;
    iu.reponses.enqueue(false);
    TFenetreSondee fenetre(iu);
    fenetre.RemplirRepertoire();
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));

    QVERIFY(fenetre.close());
    QVERIFY(!fenetre.isVisible());
    QVERIFY(iu.confirmations.isEmpty());
    QVERIFY(fenetre.lstCentre.empty());
}

void TTestFenetre::journal_data()
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
    QTest::newRow("accents") << QTime(14, 7, 0, 120) << QChar(u':')
                             << QStringLiteral("Interrogation terminée avec succès")
                             << QStringLiteral("14:07:00.120: Interrogation terminée avec succès");
    QTest::newRow("corps d'erreur") << QTime(10, 0, 0, 1) << QChar(u':')
                                    << QStringLiteral("Erreur: {\"message\":\"période invalide\"}")
                                    << QStringLiteral("10:00:00.001: Erreur: {\"message\":\"période invalide\"}");
}

void TTestFenetre::journal()
{
    QFETCH(QTime, heure);
    QFETCH(QChar, separateur);
    QFETCH(QString, texte);
    QFETCH(QString, ligne);

    TInterfaceFactice iu;
    iu.reglages.separateurHeure = separateur.unicode();
    TFenetreSondee fenetre(iu);
    iu.maintenant = QDateTime(QDate(2019, 3, 15), heure);
    fenetre.AjouterLog(texte.toStdU16String());
    QCOMPARE(Controle<QPlainTextEdit>(fenetre, "mmoLog")->toPlainText(), ligne);
}

void TTestFenetre::journalAjouteDesLignes()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    auto* mmoLog = Controle<QPlainTextEdit>(fenetre, "mmoLog");

    // A line the user typed stays; each entry is a new last line.
    mmoLog->setPlainText(QStringLiteral("note"));
    iu.maintenant = QDateTime(QDate(2019, 3, 15), QTime(9, 0, 0, 0));
    fenetre.AjouterLog(u"Interrogation en cours...");
    iu.maintenant = QDateTime(QDate(2019, 3, 15), QTime(9, 0, 1, 500));
    fenetre.AjouterLog(u"Interrogation terminée avec succès");
    QCOMPARE(mmoLog->toPlainText(), QStringLiteral("note\n09:00:00.000: Interrogation en cours...\n"
                                                   "09:00:01.500: Interrogation terminée avec succès"));
    QCOMPARE(mmoLog->blockCount(), 3);
}

void TTestFenetre::changementDeReglages()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    auto* edtDebut = Controle<tq::TChampDate>(fenetre, "edtDebut");
    QCOMPARE(edtDebut->Texte(), QStringLiteral("01/03/2019"));

    // The desktop announces new settings: month first, four-digit year, "-".
    iu.reglages = tq::TReglagesRegionaux { u"M-d-yyyy", u'-', u'.', u'.' };
    QEvent changement(QEvent::LocaleChange);
    QCoreApplication::sendEvent(&fenetre, &changement);

    QVERIFY(fenetre.ReglagesRegionaux() == iu.reglages);
    QCOMPARE(edtDebut->Texte(), QStringLiteral("03-01-2019"));
    QCOMPARE(Controle<tq::TChampDate>(fenetre, "edtFin")->Texte(),
             QStringLiteral("03-31-2019"));
    QVERIFY(edtDebut->Date() == Jour(2019, 3, 1));
    fenetre.AjouterLog(u"x");
    QCOMPARE(Controle<QPlainTextEdit>(fenetre, "mmoLog")->toPlainText(), QStringLiteral("09.05.03.007: x"));
}

void TTestFenetre::arbres_data()
{
    QTest::addColumn<QString>("nom");
    QTest::newRow("tvCentreStat") << "tvCentreStat";
    QTest::newRow("tvCentreGestion") << "tvCentreGestion";
}

void TTestFenetre::arbres()
{
    QFETCH(QString, nom);
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    auto* arbre = Controle<QTreeWidget>(fenetre, nom.toLatin1().constData());

    QCOMPARE(arbre->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(arbre->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(arbre->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!arbre->rootIsDecorated());
    QVERIFY(!arbre->itemsExpandable());
    QVERIFY(arbre->isHeaderHidden());
    QCOMPARE(arbre->indentation(), 19);
    QCOMPARE(arbre->columnCount(), 1);
    const QPalette palette = arbre->palette();
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
             palette.color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::HighlightedText),
             palette.color(QPalette::Active, QPalette::HighlightedText));

    // An item added as the centre directory does cannot be edited in place.
    auto* element = new QTreeWidgetItem(arbre, QStringList { QStringLiteral("Centre de Lyon") });
    QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
    arbre->editItem(element);
    QVERIFY(arbre->indexWidget(arbre->model()->index(0, 0)) == nullptr);
}

void TTestFenetre::zoneJournal()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    auto* mmoLog = Controle<QPlainTextEdit>(fenetre, "mmoLog");
    QVERIFY(!mmoLog->isReadOnly());
    QCOMPARE(mmoLog->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(mmoLog->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(mmoLog->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(mmoLog->tabChangesFocus());
}

void TTestFenetre::ordreTabulation()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    const QStringList attendu { "PageControl1",       "edtDebut",        "edtFin",        "btnExporterGlobale",
                                "tvCentreStat",       "btnExporterCentre", "btnListeCentre", "tvCentreGestion",
                                "btnListeAcces",      "btnQuitter",      "bntListeCentreStat", "mmoLog" };

    // The focus chain from the page control round to it again, keeping the
    // named controls in the order met.
    QStringList ordre;
    QWidget* depart = Controle(fenetre, "PageControl1");
    QWidget* courant = depart;
    do {
        if (attendu.contains(courant->objectName()) && !ordre.contains(courant->objectName()))
            ordre << courant->objectName();
        courant = courant->nextInFocusChain();
    } while (courant != depart);
    QCOMPARE(ordre, attendu);

    // On the page shown, the Tab key walks the same way.
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowActive(&fenetre));
    Controle(fenetre, "edtDebut")->setFocus();
    QStringList parTabulation;
    for (int i = 0; i < 6; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        while (focus != nullptr && !attendu.contains(focus->objectName()))
            focus = focus->parentWidget();
        parTabulation << (focus != nullptr ? focus->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The disabled export and the hidden pages are skipped.
    QCOMPARE(parTabulation, (QStringList { "edtDebut", "edtFin", "btnExporterGlobale", "tvCentreStat", "btnQuitter",
                                           "bntListeCentreStat" }));
}

void TTestFenetre::ongletsEtPolice()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    QTabBar* barre = Controle<QTabWidget>(fenetre, "PageControl1")->tabBar();
    for (int i = 0; i < barre->count(); ++i)
        QCOMPARE(barre->tabRect(i).size(), QSize(160, 32));

    // The font reaches the controls inside the pages too.
    for (const char* nom : { "btnQuitter", "Label1", "btnListeAcces", "tvCentreGestion", "mmoLog" }) {
        const QFont police = Controle(fenetre, nom)->font();
        QVERIFY2(police.families().contains(QStringLiteral("Calibri")), nom);
        QCOMPARE(police.pointSize(), 9);
    }
}

void TTestFenetre::aucunBoutonParDefaut()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    const QList<QPushButton*> boutons = fenetre.findChildren<QPushButton*>();
    QCOMPARE(boutons.size(), 6);
    for (const QPushButton* bouton : boutons) {
        QVERIFY2(!bouton->isDefault(), qPrintable(bouton->objectName()));
        QVERIFY2(!bouton->autoDefault(), qPrintable(bouton->objectName()));
    }
}

void TTestFenetre::centreeSurLEcran()
{
    TInterfaceFactice iu;
    TFenetreSondee fenetre(iu);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const QPoint ecart = fenetre.frameGeometry().center() - fenetre.screen()->availableGeometry().center();
    QVERIFY2(ecart.manhattanLength() <= 2, qPrintable(QStringLiteral("écart %1,%2").arg(ecart.x()).arg(ecart.y())));
}

TQ_TEST_FENETRE_MAIN(TTestFenetre)
#include "fenetre_test.moc"
