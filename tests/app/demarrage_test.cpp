// The window's program started where no graphical display can be opened.
#include <QFile>
#include <QProcess>
#include <QTest>

#include "app/demarrage.h"
#include "interface_factice.h"

class TTestDemarrage : public QObject {
    Q_OBJECT

private slots:
    void sansAffichage_data()
    {
        // A display number that no X server holds on this machine.
        int libre = 4000;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(libre)))
            ++libre;
        QTest::addColumn<QString>("plateforme");
        QTest::addColumn<QString>("affichage");
        QTest::newRow("plateforme par defaut, aucun affichage") << QString() << QString();
        QTest::newRow("xcb, aucun affichage") << "xcb" << QString();
        QTest::newRow("xcb, affichage sans serveur") << "xcb" << QStringLiteral(":%1").arg(libre);
    }
    // One French line on standard error and exit code 1, never Qt's own
    // diagnostics and an abort.
    void sansAffichage()
    {
        QFETCH(QString, plateforme);
        QFETCH(QString, affichage);
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        for (const char* variable : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
            environnement.remove(QString::fromLatin1(variable));
        if (!plateforme.isEmpty())
            environnement.insert(QStringLiteral("QT_QPA_PLATFORM"), plateforme);
        if (!affichage.isEmpty())
            environnement.insert(QStringLiteral("DISPLAY"), affichage);

        QProcess programme;
        programme.setProcessEnvironment(environnement);
        programme.start(QStringLiteral(TQ_PROGRAMME_FENETRE), {});
        QVERIFY(programme.waitForFinished(30000));
        QCOMPARE(programme.exitStatus(), QProcess::NormalExit);
        QCOMPARE(programme.exitCode(), 1);
        QCOMPARE(programme.readAllStandardError(), QByteArray(tq::MessageSansAffichage) + '\n');
        QCOMPARE(programme.readAllStandardOutput(), QByteArray());
    }
};

TQ_TEST_FENETRE_MAIN(TTestDemarrage)
#include "demarrage_test.moc"
