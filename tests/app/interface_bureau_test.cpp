#include <functional>
#include <stdexcept>

#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/dialogue_enregistrement.h"
#include "app/interface_utilisateur_qt.h"
#include "interface_factice.h"

namespace {

// What the person does in the save dialog once it is open.
struct TGesteDialogue {
    QString filtreChoisi; // empty: keep the one preselected
    QString nomTape;      // empty: cancel
};

// What the dialog showed when it opened.
struct TEtatDialogue {
    QString titre;
    QStringList filtres;
    QString filtrePreselectionne;
    QStringList fichierPropose;
    bool natif = true;
    bool confirmeEcrasement = true;
};

// Plays the gesture in the dialog as soon as its event loop runs.
void JouerDansLeDialogue(const TGesteDialogue& geste, TEtatDialogue& etat)
{
    QTimer::singleShot(0, [geste, &etat] {
        QFileDialog* dialogue = nullptr;
        for (QWidget* fenetre : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<QFileDialog*>(fenetre); d != nullptr && d->isVisible())
                dialogue = d;
        }
        if (dialogue == nullptr)
            return;
        etat.titre = dialogue->windowTitle();
        etat.filtres = dialogue->nameFilters();
        etat.filtrePreselectionne = dialogue->selectedNameFilter();
        etat.fichierPropose = dialogue->selectedFiles();
        etat.natif = !dialogue->testOption(QFileDialog::DontUseNativeDialog);
        etat.confirmeEcrasement = !dialogue->testOption(QFileDialog::DontConfirmOverwrite);
        if (geste.nomTape.isEmpty()) {
            dialogue->reject();
            return;
        }
        if (!geste.filtreChoisi.isEmpty())
            dialogue->selectNameFilter(geste.filtreChoisi);
        dialogue->selectFile(geste.nomTape);
        static_cast<QDialog*>(dialogue)->accept();
    });
}

} // namespace

class TTestInterfaceBureau : public QObject {
    Q_OBJECT

private slots:
    void extension_data();
    void extension();
    void indiceFiltre_data();
    void indiceFiltre();
    void dialogueEnregistrement_data();
    void dialogueEnregistrement();
    void dialogueSeSouvientDuDernierFichier();
    void curseurOccupe();
    void curseurRestaureSurEchec();
};

void TTestInterfaceBureau::extension_data()
{
    QTest::addColumn<QString>("chemin");
    QTest::addColumn<int>("indice");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("csv ajoute") << "/tmp/rapport" << 0 << "/tmp/rapport.csv";
    QTest::newRow("txt ajoute") << "/tmp/rapport" << 1 << "/tmp/rapport.txt";
    QTest::newRow("json ajoute") << "/tmp/rapport" << 2 << "/tmp/rapport.json";
    QTest::newRow("extension gardee") << "/tmp/rapport.txt" << 0 << "/tmp/rapport.txt";
    QTest::newRow("autre extension gardee") << "/tmp/notes.dat" << 2 << "/tmp/notes.dat";
    QTest::newRow("point dans le dossier seulement") << "/tmp/v1.2/rapport" << 1 << "/tmp/v1.2/rapport.txt";
    QTest::newRow("point final garde") << "/tmp/rapport." << 0 << "/tmp/rapport.";
    QTest::newRow("dossier seul") << "/tmp/" << 0 << "/tmp/";
    QTest::newRow("indice inconnu") << "/tmp/rapport" << 7 << "/tmp/rapport";
}

void TTestInterfaceBureau::extension()
{
    QFETCH(QString, chemin);
    QFETCH(int, indice);
    QFETCH(QString, attendu);
    QCOMPARE(tq::CheminAvecExtension(chemin, indice), attendu);
}

void TTestInterfaceBureau::indiceFiltre_data()
{
    QTest::addColumn<int>("typeFichier");
    QTest::addColumn<QString>("filtre");
    QTest::newRow("1 csv") << 1 << "Fichier CSV (*.csv)";
    QTest::newRow("2 txt") << 2 << "Fichier TXT (*.txt)";
    QTest::newRow("3 json") << 3 << "Fichier JSON (*.json)";
    QTest::newRow("0 premier") << 0 << "Fichier CSV (*.csv)";
    QTest::newRow("4 premier") << 4 << "Fichier CSV (*.csv)";
}

void TTestInterfaceBureau::indiceFiltre()
{
    QFETCH(int, typeFichier);
    QFETCH(QString, filtre);
    QCOMPARE(tq::FiltresEnregistrement().at(tq::IndiceFiltreEnregistrement(typeFichier)), filtre);
}

void TTestInterfaceBureau::dialogueEnregistrement_data()
{
    QTest::addColumn<int>("typeFichier");
    QTest::addColumn<QString>("filtreChoisi");
    QTest::addColumn<QString>("nomTape");
    QTest::addColumn<QString>("filtrePreselectionne");
    QTest::addColumn<QString>("fichierRendu");

    QTest::newRow("csv complete") << 1 << QString() << "stats" << "Fichier CSV (*.csv)" << "stats.csv";
    QTest::newRow("json complete") << 3 << QString() << "centres" << "Fichier JSON (*.json)" << "centres.json";
    QTest::newRow("type change par l'utilisateur") << 1 << "Fichier TXT (*.txt)" << "acces" << "Fichier CSV (*.csv)"
                                                   << "acces.txt";
    QTest::newRow("extension tapee gardee") << 1 << QString() << "stats.dat" << "Fichier CSV (*.csv)"
                                            << "stats.dat";
    QTest::newRow("annule") << 1 << QString() << QString() << "Fichier CSV (*.csv)" << QString();
}

void TTestInterfaceBureau::dialogueEnregistrement()
{
    QFETCH(int, typeFichier);
    QFETCH(QString, filtreChoisi);
    QFETCH(QString, nomTape);
    QFETCH(QString, filtrePreselectionne);
    QFETCH(QString, fichierRendu);

    QTemporaryDir dossier;
    QVERIFY(dossier.isValid());
    tq::TInterfaceUtilisateurQt bureau;
    TEtatDialogue etat;
    JouerDansLeDialogue({ filtreChoisi, nomTape.isEmpty() ? QString() : dossier.filePath(nomTape) }, etat);
    const std::optional<QString> chemin = bureau.ChoisirFichierEnregistrement(typeFichier);

    QCOMPARE(etat.titre, QStringLiteral("Enregistrement du fichier CSV"));
    QCOMPARE(etat.filtres, tq::FiltresEnregistrement());
    QCOMPARE(etat.filtrePreselectionne, filtrePreselectionne);
    QVERIFY(!etat.natif);
    QVERIFY(!etat.confirmeEcrasement);
    if (fichierRendu.isEmpty()) {
        QVERIFY(!chemin.has_value());
    } else {
        QVERIFY(chemin.has_value());
        QCOMPARE(*chemin, dossier.filePath(fichierRendu));
    }
}

void TTestInterfaceBureau::dialogueSeSouvientDuDernierFichier()
{
    QTemporaryDir dossier;
    QVERIFY(dossier.isValid());
    tq::TInterfaceUtilisateurQt bureau;

    TEtatDialogue premier;
    JouerDansLeDialogue({ {}, dossier.filePath(QStringLiteral("stats")) }, premier);
    QCOMPARE(bureau.ChoisirFichierEnregistrement(1), std::optional<QString>(dossier.filePath("stats.csv")));

    // Offered again the next time, even when that time is cancelled; the
    // type chosen first is the command's, not the one used last.
    TEtatDialogue second;
    JouerDansLeDialogue({ {}, {} }, second);
    QVERIFY(!bureau.ChoisirFichierEnregistrement(3).has_value());
    QCOMPARE(second.fichierPropose, QStringList { dossier.filePath("stats.csv") });
    QCOMPARE(second.filtrePreselectionne, QStringLiteral("Fichier JSON (*.json)"));

    TEtatDialogue troisieme;
    JouerDansLeDialogue({ {}, {} }, troisieme);
    QVERIFY(!bureau.ChoisirFichierEnregistrement(1).has_value());
    QCOMPARE(troisieme.fichierPropose, QStringList { dossier.filePath("stats.csv") });
}

void TTestInterfaceBureau::curseurOccupe()
{
    tq::TInterfaceUtilisateurQt bureau;
    QVERIFY(QApplication::overrideCursor() == nullptr);

    bureau.AfficherCurseurOccupe();
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    // Shown twice, one restore is enough: nothing earlier is remembered.
    bureau.AfficherCurseurOccupe();
    bureau.RestaurerCurseur();
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // A cursor set before is not brought back either.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    bureau.AfficherCurseurOccupe();
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    bureau.RestaurerCurseur();
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TTestInterfaceBureau::curseurRestaureSurEchec()
{
    TInterfaceFactice iu;
    try {
        tq::TCurseurOccupe occupe(iu);
        QCOMPARE(iu.curseursOccupes, 1);
        QCOMPARE(iu.restaurations, 0);
        throw std::runtime_error("Connexion refusée");
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(iu.curseursOccupes, 1);
    QCOMPARE(iu.restaurations, 1);
}

TQ_TEST_FENETRE_MAIN(TTestInterfaceBureau)
#include "interface_bureau_test.moc"
