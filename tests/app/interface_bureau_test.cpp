#include <stdexcept>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/centrage_boite.h"
#include "app/dialogue_enregistrement.h"
#include "app/interface_utilisateur_qt.h"
#include "interface_factice.h"

Q_DECLARE_METATYPE(tq::TTypeFichier)
Q_DECLARE_METATYPE(QDialogButtonBox::ButtonLayout)

namespace {

// What the save dialog showed when it opened.
struct TEtatDialogue {
    QString titre;
    QStringList typesAffiches;
    QString typePreselectionne;
    QStringList fichierPropose;
    QStringList textes;
    bool natif = true;
    bool confirmeEcrasement = true;
};

// The visible texts of Qt's own widgets in the dialog: labels, buttons of
// the button box, column titles of the file list.
QStringList TextesDuDialogue(const QFileDialog& dialogue)
{
    QStringList textes;
    for (const char* etiquette : { "lookInLabel", "fileNameLabel", "fileTypeLabel" })
        textes << dialogue.findChild<QLabel*>(QString::fromLatin1(etiquette))->text();
    for (QAbstractButton* bouton : dialogue.findChild<QDialogButtonBox*>()->buttons())
        textes << bouton->text();
    const QHeaderView* entete = dialogue.findChild<QTreeView*>()->header();
    for (int colonne = 0; colonne < entete->count(); ++colonne)
        textes << entete->model()->headerData(colonne, Qt::Horizontal).toString();
    return textes;
}

// As soon as the dialog's event loop runs: notes what it shows, then picks
// the type `type` (if any) and confirms `chemin`, or cancels when `chemin`
// is empty.
void JouerDansLeDialogue(TEtatDialogue& etat, const QString& chemin, const QString& type = {})
{
    QTimer::singleShot(0, [&etat, chemin, type] {
        for (QWidget* fenetre : QApplication::topLevelWidgets()) {
            auto* dialogue = qobject_cast<QFileDialog*>(fenetre);
            if (dialogue == nullptr || !dialogue->isVisible())
                continue;
            auto* types = dialogue->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            etat.titre = dialogue->windowTitle();
            etat.typesAffiches.clear();
            for (int i = 0; i < types->count(); ++i)
                etat.typesAffiches << types->itemText(i);
            etat.typePreselectionne = types->currentText();
            etat.fichierPropose = dialogue->selectedFiles();
            etat.textes = TextesDuDialogue(*dialogue);
            etat.natif = !dialogue->testOption(QFileDialog::DontUseNativeDialog);
            etat.confirmeEcrasement = !dialogue->testOption(QFileDialog::DontConfirmOverwrite);
            if (chemin.isEmpty()) {
                dialogue->reject();
                return;
            }
            if (!type.isEmpty())
                types->setCurrentIndex(types->findText(type));
            dialogue->selectFile(chemin);
            static_cast<QDialog*>(dialogue)->accept();
        }
    });
}

// What the confirmation box showed: its buttons from left to right.
struct TEtatBoite {
    QStringList boutons;
    QString parDefaut;
    QString echappement;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QRect cadre;
};

// As soon as the box's event loop runs: notes what it shows, then presses
// the button captioned `reponse`.
void RepondreALaBoite(TEtatBoite& etat, const QString& reponse)
{
    QTimer::singleShot(0, [&etat, reponse] {
        auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (boite == nullptr)
            return;
        QList<QAbstractButton*> boutons = boite->buttons();
        std::sort(boutons.begin(), boutons.end(), [boite](const QAbstractButton* a, const QAbstractButton* b) {
            return a->mapTo(boite, QPoint()).x() < b->mapTo(boite, QPoint()).x();
        });
        QAbstractButton* choisi = nullptr;
        for (QAbstractButton* bouton : boutons) {
            etat.boutons << bouton->text();
            if (bouton->text() == reponse)
                choisi = bouton;
        }
        etat.parDefaut = boite->defaultButton() ? boite->defaultButton()->text() : QString();
        etat.echappement = boite->escapeButton() ? boite->escapeButton()->text() : QString();
        etat.icone = boite->icon();
        etat.cadre = boite->frameGeometry();
        if (choisi != nullptr)
            choisi->click();
        else
            boite->reject();
    });
}

// The application's style with the button order of another desktop.
class TStyleDisposition : public QProxyStyle {
public:
    explicit TStyleDisposition(QDialogButtonBox::ButtonLayout disposition)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
        , disposition_(disposition)
    {
    }
    int styleHint(StyleHint indice, const QStyleOption* option, const QWidget* controle,
                  QStyleHintReturn* retour) const override
    {
        if (indice == SH_DialogButtonLayout)
            return disposition_;
        return QProxyStyle::styleHint(indice, option, controle, retour);
    }

private:
    QDialogButtonBox::ButtonLayout disposition_;
};

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

    void filtreChoisi_data()
    {
        QTest::addColumn<QString>("filtre");
        QTest::addColumn<int>("indice");
        QTest::newRow("nom seul") << "Fichier TXT" << 1;
        QTest::newRow("filtre entier") << "Fichier JSON (*.json)" << 2;
        QTest::newRow("inconnu") << "Tous les fichiers (*)" << -1;
        QTest::newRow("vide") << "" << -1;
    }
    void filtreChoisi()
    {
        QFETCH(QString, filtre);
        QFETCH(int, indice);
        QCOMPARE(tq::IndiceFiltreChoisi(filtre), indice);
    }

    void dialogueEnregistrement_data()
    {
        QTest::addColumn<tq::TTypeFichier>("typeFichier");
        QTest::addColumn<QString>("typeChoisi");
        QTest::addColumn<QString>("nomTape");
        QTest::addColumn<QString>("typePreselectionne");
        QTest::addColumn<QString>("fichierRendu");
        const QString csv = QStringLiteral("Fichier CSV");
        QTest::newRow("csv complete") << tq::TTypeFichier::Csv << QString() << "stats" << csv << "stats.csv";
        QTest::newRow("json complete") << tq::TTypeFichier::Json << QString() << "centres"
                                       << "Fichier JSON"
                                       << "centres.json";
        QTest::newRow("type change par l'utilisateur") << tq::TTypeFichier::Csv << "Fichier TXT"
                                                       << "acces" << csv << "acces.txt";
        QTest::newRow("extension tapee gardee")
            << tq::TTypeFichier::Csv << QString() << "stats.dat" << csv << "stats.dat";
        QTest::newRow("annule") << tq::TTypeFichier::Csv << QString() << QString() << csv << QString();
    }
    void dialogueEnregistrement()
    {
        QFETCH(tq::TTypeFichier, typeFichier);
        QFETCH(QString, typeChoisi);
        QFETCH(QString, nomTape);
        QFETCH(QString, typePreselectionne);
        QFETCH(QString, fichierRendu);
        QTemporaryDir dossier;
        tq::TInterfaceUtilisateurQt bureau(tq::TDialogueEnregistrement::DeQt);
        TEtatDialogue etat;
        JouerDansLeDialogue(etat, nomTape.isEmpty() ? QString() : dossier.filePath(nomTape), typeChoisi);
        const std::optional<QString> chemin = bureau.ChoisirFichierEnregistrement(typeFichier);

        QCOMPARE(etat.titre, QStringLiteral("Enregistrement du fichier CSV"));
        QCOMPARE(etat.typesAffiches, (QStringList { "Fichier CSV", "Fichier TXT", "Fichier JSON" }));
        QCOMPARE(etat.typePreselectionne, typePreselectionne);
        QVERIFY(!etat.confirmeEcrasement);
        QCOMPARE(chemin.has_value(), !fichierRendu.isEmpty());
        if (chemin)
            QCOMPARE(*chemin, dossier.filePath(fichierRendu));
    }

    // Qt's own dialog where the platform's is not Windows' own.
    void dialogueDeLaPlateforme()
    {
        if (QGuiApplication::platformName() == QLatin1String("windows"))
            QSKIP("Windows' own dialog cannot be driven from here: the window's check under Wine does");
        tq::TInterfaceUtilisateurQt bureau;
        TEtatDialogue etat;
        JouerDansLeDialogue(etat, {});
        bureau.ChoisirFichierEnregistrement(tq::TTypeFichier::Csv);
        QCOMPARE(etat.titre, QStringLiteral("Enregistrement du fichier CSV"));
        QVERIFY(!etat.natif);
    }

    // Qt's own texts in the dialog are French, whatever the user's language.
    void dialogueEnFrancais()
    {
        tq::TInterfaceUtilisateurQt bureau(tq::TDialogueEnregistrement::DeQt);
        TEtatDialogue etat;
        JouerDansLeDialogue(etat, {});
        bureau.ChoisirFichierEnregistrement(tq::TTypeFichier::Csv);
        QCOMPARE(etat.textes, (QStringList { QStringLiteral("Voir dans :"), QStringLiteral("&Nom de fichier :"),
                                             QStringLiteral("Fichiers de type :"), QStringLiteral("&Enregistrer"),
                                             QStringLiteral("Annuler"), QStringLiteral("Nom"), QStringLiteral("Taille"),
                                             QStringLiteral("Type"), QStringLiteral("Dernière modification") }));
    }

    // Folder, size, kind and date in French whatever the user's language, and
    // four columns that show whole, titles and contents alike.
    void listeDesFichiers()
    {
        QTemporaryDir dossier;
        QVERIFY(QDir(dossier.path()).mkdir(QStringLiteral("Archives")));
        QFile fichier(dossier.filePath(QStringLiteral("statistiques-2026-11.csv")));
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(QByteArray(5000, 'x'));
        fichier.close();

        QMap<QString, QStringList> lignes;
        bool listeChargee = false;
        bool colonnesEntieres = false;
        QRect cadre;
        QTimer::singleShot(0, [&] {
            auto* dialogue = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            cadre = dialogue->frameGeometry();
            dialogue->setDirectory(dossier.path());
            auto* vue = dialogue->findChild<QTreeView*>(QStringLiteral("treeView"));
            const QAbstractItemModel* modele = vue->model();
            listeChargee = QTest::qWaitFor([&] { return modele->rowCount(vue->rootIndex()) == 2; });
            const QHeaderView* entete = vue->header();
            colonnesEntieres = entete->sectionViewportPosition(3) + entete->sectionSize(3) <= vue->viewport()->width();
            for (int ligne = 0; ligne < modele->rowCount(vue->rootIndex()); ++ligne) {
                QStringList textes;
                for (int colonne = 0; colonne < 4; ++colonne) {
                    const QString texte = modele->index(ligne, colonne, vue->rootIndex()).data().toString();
                    textes << texte;
                    const int largeur =
                        std::max(entete->sectionSizeHint(colonne), vue->fontMetrics().horizontalAdvance(texte) + 6);
                    colonnesEntieres = colonnesEntieres && entete->sectionSize(colonne) >= largeur;
                }
                lignes.insert(textes.takeFirst(), textes);
            }
            dialogue->reject();
        });
        tq::TInterfaceUtilisateurQt bureau(tq::TDialogueEnregistrement::DeQt);
        bureau.ChoisirFichierEnregistrement(tq::TTypeFichier::Csv);

        QVERIFY(listeChargee);
        QCOMPARE(lignes.value(QStringLiteral("Archives")).mid(0, 2), (QStringList { QString(), "Dossier" }));
        QCOMPARE(lignes.value(QStringLiteral("statistiques-2026-11.csv")).mid(0, 2),
                 (QStringList { QStringLiteral("4,88 Kio"), QStringLiteral("document CSV") }));
        QVERIFY(colonnesEntieres);
        // Widened, it still places itself in the middle (Qt allows 10 pixels
        // for a frame it cannot measure).
        const QRect zone = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(qAbs(cadre.center().x() - zone.center().x()) <= 10, qPrintable(QString::number(cadre.x())));
    }

    void dialogueSeSouvientDuDernierFichier()
    {
        QTemporaryDir dossier;
        tq::TInterfaceUtilisateurQt bureau(tq::TDialogueEnregistrement::DeQt);
        TEtatDialogue premier, second, troisieme;
        JouerDansLeDialogue(premier, dossier.filePath(QStringLiteral("stats")));
        QCOMPARE(bureau.ChoisirFichierEnregistrement(tq::TTypeFichier::Csv),
                 std::optional<QString>(dossier.filePath("stats.csv")));
        // Offered again, with the type each command asks for, even after a cancel.
        JouerDansLeDialogue(second, {});
        QVERIFY(!bureau.ChoisirFichierEnregistrement(tq::TTypeFichier::Json).has_value());
        JouerDansLeDialogue(troisieme, {});
        QVERIFY(!bureau.ChoisirFichierEnregistrement(tq::TTypeFichier::Csv).has_value());
        QCOMPARE(second.fichierPropose, QStringList { dossier.filePath("stats.csv") });
        QCOMPARE(second.typePreselectionne, QStringLiteral("Fichier JSON"));
        QCOMPARE(troisieme.fichierPropose, QStringList { dossier.filePath("stats.csv") });
    }

    // Run as a program of its own, a test that chooses files in the dialog
    // leaves the user's configuration, Qt's settings file included, exactly
    // as it found it.
    void rienNEstGardeEntreDeuxLancements()
    {
        QTemporaryDir racine;
        QVERIFY(QDir(racine.path()).mkpath(QStringLiteral("config")));
        const QByteArray reglages = "[FileDialog]\nlastVisited=file:///srv/partage\n";
        QFile fichier(racine.filePath(QStringLiteral("config/QtProject.conf")));
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(reglages);
        fichier.close();

        QProcess lancement;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.insert(QStringLiteral("XDG_CONFIG_HOME"), racine.filePath(QStringLiteral("config")));
        lancement.setProcessEnvironment(environnement);
        lancement.start(QCoreApplication::applicationFilePath(),
                        { QStringLiteral("dialogueSeSouvientDuDernierFichier") });
        QVERIFY(lancement.waitForFinished(60000));
        QVERIFY2(lancement.exitStatus() == QProcess::NormalExit && lancement.exitCode() == 0,
                 lancement.readAllStandardOutput().constData());

        QStringList contenu;
        QDirIterator parcours(racine.filePath(QStringLiteral("config")), QDir::AllEntries | QDir::NoDotAndDotDot,
                              QDirIterator::Subdirectories);
        while (parcours.hasNext())
            contenu << parcours.next();
        QCOMPARE(contenu, QStringList { fichier.fileName() });
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        QCOMPARE(fichier.readAll(), reglages);
    }

    void questionOuiNon_data()
    {
        QTest::addColumn<QDialogButtonBox::ButtonLayout>("disposition");
        QTest::addColumn<QString>("reponse");
        QTest::addColumn<bool>("confirme");
        QTest::newRow("Windows, Oui") << QDialogButtonBox::WinLayout << "&Oui" << true;
        QTest::newRow("macOS, Oui") << QDialogButtonBox::MacLayout << "&Oui" << true;
        QTest::newRow("KDE, Non") << QDialogButtonBox::KdeLayout << "&Non" << false;
        QTest::newRow("GNOME, Non") << QDialogButtonBox::GnomeLayout << "&Non" << false;
    }
    // "&Oui" then "&Non", left to right, whatever the desktop's button order.
    void questionOuiNon()
    {
        QFETCH(QDialogButtonBox::ButtonLayout, disposition);
        QFETCH(QString, reponse);
        QFETCH(bool, confirme);
        const QString styleDeDepart = QApplication::style()->name();
        QApplication::setStyle(new TStyleDisposition(disposition));
        tq::TInterfaceUtilisateurQt bureau;
        TEtatBoite etat;
        RepondreALaBoite(etat, reponse);
        const bool confirmation =
            bureau.Confirmer(QStringLiteral("Voulez-vous ouvrir le fichier généré ?"), QStringLiteral("Confirmer"));
        QApplication::setStyle(QStyleFactory::create(styleDeDepart));

        QCOMPARE(etat.boutons, (QStringList { "&Oui", "&Non" }));
        QCOMPARE(etat.parDefaut, QStringLiteral("&Oui"));
        QCOMPARE(etat.echappement, QStringLiteral("&Non"));
        QCOMPARE(etat.icone, QMessageBox::Question);
        QCOMPARE(confirmation, confirme);
    }

    void coinCadreCentre_data()
    {
        QTest::addColumn<QSize>("cadre");
        QTest::addColumn<QRect>("zone");
        QTest::addColumn<QPoint>("coin");
        QTest::newRow("ecran entier") << QSize(369, 86) << QRect(0, 0, 1280, 800) << QPoint(455, 357);
        QTest::newRow("barre des taches en haut") << QSize(400, 100) << QRect(0, 27, 1280, 773) << QPoint(440, 363);
        QTest::newRow("second ecran") << QSize(400, 100) << QRect(1280, 0, 1920, 1080) << QPoint(2040, 490);
        QTest::newRow("plus grande que l'ecran") << QSize(900, 700) << QRect(0, 0, 800, 600) << QPoint(0, 0);
    }
    void coinCadreCentre()
    {
        QFETCH(QSize, cadre);
        QFETCH(QRect, zone);
        QFETCH(QPoint, coin);
        QCOMPARE(tq::CoinCadreCentre(cadre, zone), coin);
    }

    // Both boxes sit, frame included, in the middle of the screen.
    void boitesCentrees_data()
    {
        QTest::addColumn<bool>("erreur");
        QTest::newRow("confirmation") << false;
        QTest::newRow("echec") << true;
    }
    void boitesCentrees()
    {
        QFETCH(bool, erreur);
        // The program's window is on screen: the boxes take their frame from it.
        QWidget fenetre;
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowActive(&fenetre));
        tq::TInterfaceUtilisateurQt bureau;
        TEtatBoite etat;
        RepondreALaBoite(etat, QStringLiteral("&Non"));
        if (erreur)
            bureau.AfficherErreur(QStringLiteral("Connexion refusée."), QStringLiteral("Tq_statistiques"));
        else
            bureau.Confirmer(QStringLiteral("Etes-vous sûr(e) de vouloir quitter l'application ?"),
                             QStringLiteral("Confirmer"));
        const QRect zone = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(!etat.cadre.isEmpty());
        QVERIFY2(qAbs(etat.cadre.center().x() - zone.center().x()) <= 1
                     && qAbs(etat.cadre.center().y() - zone.center().y()) <= 1,
                 qPrintable(QStringLiteral("zone %5,%6 %7x%8 cadre %1,%2 %3x%4")
                                .arg(etat.cadre.x())
                                .arg(etat.cadre.y())
                                .arg(etat.cadre.width())
                                .arg(etat.cadre.height())
                                .arg(zone.x())
                                .arg(zone.y())
                                .arg(zone.width())
                                .arg(zone.height())));
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
