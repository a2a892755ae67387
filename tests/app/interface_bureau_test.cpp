#include <stdexcept>

#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/dialogue_enregistrement.h"
#include "app/interface_utilisateur_qt.h"
#include "interface_factice.h"

namespace {

// What the save dialog showed when it opened.
struct TEtatDialogue {
    QString titre;
    QStringList filtres;
    QString filtrePreselectionne;
    QStringList fichierPropose;
    bool natif = true;
    bool confirmeEcrasement = true;
};

// As soon as the dialog's event loop runs: notes what it shows, then picks
// `filtre` (if any) and confirms `chemin`, or cancels when `chemin` is empty.
void JouerDansLeDialogue(TEtatDialogue& etat, const QString& chemin, const QString& filtre = {})
{
    QTimer::singleShot(0, [&etat, chemin, filtre] {
        for (QWidget* fenetre : QApplication::topLevelWidgets()) {
            auto* dialogue = qobject_cast<QFileDialog*>(fenetre);
            if (dialogue == nullptr || !dialogue->isVisible())
                continue;
            etat = { dialogue->windowTitle(),
                     dialogue->nameFilters(),
                     dialogue->selectedNameFilter(),
                     dialogue->selectedFiles(),
                     !dialogue->testOption(QFileDialog::DontUseNativeDialog),
                     !dialogue->testOption(QFileDialog::DontConfirmOverwrite) };
            if (chemin.isEmpty()) {
                dialogue->reject();
                return;
            }
            if (!filtre.isEmpty())
                dialogue->selectNameFilter(filtre);
            dialogue->selectFile(chemin);
            static_cast<QDialog*>(dialogue)->accept();
        }
    });
}

} // namespace

class TTestInterfaceBureau : public QObject {
    Q_OBJECT

private slots:
    void extension_data()
    {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("csv ajoute") << "/tmp/rapport" << 0 << "/tmp/rapport.csv";
        QTest::newRow("json ajoute") << "/tmp/rapport" << 2 << "/tmp/rapport.json";
        QTest::newRow("extension gardee") << "/tmp/notes.dat" << 2 << "/tmp/notes.dat";
        QTest::newRow("point dans le dossier seulement") << "/tmp/v1.2/rapport" << 1 << "/tmp/v1.2/rapport.txt";
        QTest::newRow("point final garde") << "/tmp/rapport." << 0 << "/tmp/rapport.";
        QTest::newRow("dossier seul") << "/tmp/" << 0 << "/tmp/";
    }
    void extension()
    {
        QFETCH(QString, chemin);
        QFETCH(int, indice);
        QFETCH(QString, attendu);
        QCOMPARE(tq::CheminAvecExtension(chemin, indice), attendu);
    }

    void dialogueEnregistrement_data()
    {
        QTest::addColumn<int>("typeFichier");
        QTest::addColumn<QString>("filtreChoisi");
        QTest::addColumn<QString>("nomTape");
        QTest::addColumn<QString>("filtrePreselectionne");
        QTest::addColumn<QString>("fichierRendu");
        const QString csv = QStringLiteral("Fichier CSV (*.csv)");
        QTest::newRow("csv complete") << 1 << QString() << "stats" << csv << "stats.csv";
        QTest::newRow("json complete") << 3 << QString() << "centres"
                                       << "Fichier JSON (*.json)"
                                       << "centres.json";
        QTest::newRow("type hors liste") << 4 << QString() << "stats" << csv << "stats.csv";
        QTest::newRow("type change par l'utilisateur") << 1 << "Fichier TXT (*.txt)"
                                                       << "acces" << csv << "acces.txt";
        QTest::newRow("extension tapee gardee") << 1 << QString() << "stats.dat" << csv << "stats.dat";
        QTest::newRow("annule") << 1 << QString() << QString() << csv << QString();
    }
    void dialogueEnregistrement()
    {
        QFETCH(int, typeFichier);
        QFETCH(QString, filtreChoisi);
        QFETCH(QString, nomTape);
        QFETCH(QString, filtrePreselectionne);
        QFETCH(QString, fichierRendu);
        QTemporaryDir dossier;
        tq::TInterfaceUtilisateurQt bureau;
        TEtatDialogue etat;
        JouerDansLeDialogue(etat, nomTape.isEmpty() ? QString() : dossier.filePath(nomTape), filtreChoisi);
        const std::optional<QString> chemin = bureau.ChoisirFichierEnregistrement(typeFichier);

        QCOMPARE(etat.titre, QStringLiteral("Enregistrement du fichier CSV"));
        QCOMPARE(etat.filtres, (QStringList { "Fichier CSV (*.csv)", "Fichier TXT (*.txt)", "Fichier JSON (*.json)" }));
        QCOMPARE(etat.filtrePreselectionne, filtrePreselectionne);
        QVERIFY(!etat.natif && !etat.confirmeEcrasement);
        QCOMPARE(chemin.has_value(), !fichierRendu.isEmpty());
        if (chemin)
            QCOMPARE(*chemin, dossier.filePath(fichierRendu));
    }

    void dialogueSeSouvientDuDernierFichier()
    {
        QTemporaryDir dossier;
        tq::TInterfaceUtilisateurQt bureau;
        TEtatDialogue premier, second, troisieme;
        JouerDansLeDialogue(premier, dossier.filePath(QStringLiteral("stats")));
        QCOMPARE(bureau.ChoisirFichierEnregistrement(1), std::optional<QString>(dossier.filePath("stats.csv")));
        // Offered again, with the type each command asks for, even after a cancel.
        JouerDansLeDialogue(second, {});
        QVERIFY(!bureau.ChoisirFichierEnregistrement(3).has_value());
        JouerDansLeDialogue(troisieme, {});
        QVERIFY(!bureau.ChoisirFichierEnregistrement(1).has_value());
        QCOMPARE(second.fichierPropose, QStringList { dossier.filePath("stats.csv") });
        QCOMPARE(second.filtrePreselectionne, QStringLiteral("Fichier JSON (*.json)"));
        QCOMPARE(troisieme.fichierPropose, QStringList { dossier.filePath("stats.csv") });
    }

    void curseurOccupe()
    {
        tq::TInterfaceUtilisateurQt bureau;
        QVERIFY(QApplication::overrideCursor() == nullptr);
        bureau.AfficherCurseurOccupe();
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // Shown twice, one restore is enough; a cursor set before is not brought back.
        bureau.AfficherCurseurOccupe();
        bureau.RestaurerCurseur();
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QApplication::setOverrideCursor(Qt::CrossCursor);
        bureau.AfficherCurseurOccupe();
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        bureau.RestaurerCurseur();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void curseurRestaureSurEchec()
    {
        TInterfaceFactice iu;
        try {
            tq::TCurseurOccupe occupe(iu);
            QCOMPARE(iu.curseursOccupes, 1);
            QCOMPARE(iu.restaurations, 0);
            throw std::runtime_error("Connexion refusée");
        } catch (const std::runtime_error&) {
        }
        QCOMPARE(iu.restaurations, 1);
    }
};

TQ_TEST_FENETRE_MAIN(TTestInterfaceBureau)
#include "interface_bureau_test.moc"
