#include <exception>
#include <functional>
#include <memory>

#include <QPushButton>
#include <QTest>

#include "app/message_faillite.h"
#include "interface_factice.h"
#include "platform/erreur.h"

namespace {

// An object whose every event runs the given handler, as an event handler of
// the window would.
class TLanceur : public QObject {
public:
    explicit TLanceur(std::function<void()> action)
        : action_(std::move(action))
    {
    }
    bool event(QEvent*) override
    {
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

// Throws a chain of failures: the first message outermost, each wrapping the
// next one with std::throw_with_nested.
[[noreturn]] void LancerChaine(const QStringList& messages, qsizetype niveau = 0)
{
    if (niveau + 1 == messages.size())
        throw tq::Erreur(messages[niveau].toStdString());
    try {
        LancerChaine(messages, niveau + 1);
    } catch (...) {
        std::throw_with_nested(tq::Erreur(messages[niveau].toStdString()));
    }
}

tq::TApplication& Application() { return *static_cast<tq::TApplication*>(QCoreApplication::instance()); }

} // namespace

class TTestFaillite : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pointFinal_data();
    void pointFinal();
    void echecEmboite_data();
    void echecEmboite();
    void echecSansMessage();
    void echecInconnu();
    void laBoucleContinue();
    void captureSourisAnnulee();
    void titreApplication_data();
    void titreApplication();

private:
    std::unique_ptr<TInterfaceFactice> iu_;
};

void TTestFaillite::init()
{
    iu_ = std::make_unique<TInterfaceFactice>();
    Application().DefinirInterfaceUtilisateur(iu_.get());
}

void TTestFaillite::cleanup()
{
    Application().DefinirInterfaceUtilisateur(nullptr);
    iu_.reset();
}

void TTestFaillite::pointFinal_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("affiche");

    QTest::newRow("lettre") << QStringLiteral("Connexion refusée") << QStringLiteral("Connexion refusée.");
    QTest::newRow("chiffre") << "Erreur de socket 10061" << "Erreur de socket 10061.";
    QTest::newRow("point") << "Fin du flux." << "Fin du flux.";
    QTest::newRow("blanc") << "Fin du flux " << "Fin du flux ";
    QTest::newRow("parenthese code 41") << "Erreur (404)" << "Erreur (404)";
    QTest::newRow("barre code 47") << "chemin /" << "chemin /.";
    QTest::newRow("tiret code 45") << "valeur -" << "valeur -";
    QTest::newRow("point d'interrogation") << "Quoi ?" << "Quoi ?.";
    QTest::newRow("guillemet code 34") << "Fichier \"a.csv\"" << "Fichier \"a.csv\"";
    QTest::newRow("hors ASCII") << QStringLiteral("Accès refusé") << QStringLiteral("Accès refusé.");
    QTest::newRow("vide") << QString() << QString();
}

// The handler of a button's click fails: the failure reaches the box.
void TTestFaillite::pointFinal()
{
    QFETCH(QString, message);
    QFETCH(QString, affiche);

    QPushButton bouton(QStringLiteral("Liste des centres"));
    connect(&bouton, &QPushButton::clicked, [&message] { throw tq::Erreur(message.toStdString()); });
    bouton.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bouton));
    // The failure cut the button's handling of the release short.
    QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MouseRelease\" not accepted by receiving widget");
    QTest::mouseClick(&bouton, Qt::LeftButton);

    QCOMPARE(iu_->erreurs.size(), 1);
    QCOMPARE(iu_->erreurs[0].message, affiche);
    QCOMPARE(iu_->erreurs[0].titre, QStringLiteral("tq_faillite_tests"));
}

void TTestFaillite::echecEmboite_data()
{
    QTest::addColumn<QStringList>("chaine");
    QTest::addColumn<QString>("affiche");

    QTest::newRow("un niveau") << QStringList { "Erreur de lecture" } << "Erreur de lecture.";
    QTest::newRow("deux niveaux") << QStringList { "Analyse impossible", "Jeton inattendu" } << "Jeton inattendu.";
    QTest::newRow("trois niveaux") << QStringList { "Commande", "Interrogation", "Connexion refusée" }
                                   << QStringLiteral("Connexion refusée.");
    QTest::newRow("interne vide") << QStringList { "Analyse impossible", "" } << "Analyse impossible.";
    QTest::newRow("milieu vide") << QStringList { "Commande", "", "Hôte inconnu" } << QStringLiteral("Hôte inconnu.");
    QTest::newRow("interne avec point") << QStringList { "Commande", "Terminé." } << QStringLiteral("Terminé.");
}

void TTestFaillite::echecEmboite()
{
    QFETCH(QStringList, chaine);
    QFETCH(QString, affiche);

    TLanceur lanceur([&chaine] { LancerChaine(chaine); });
    QEvent evenement(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&lanceur, &evenement), false);

    QCOMPARE(iu_->erreurs.size(), 1);
    QCOMPARE(iu_->erreurs[0].message, affiche);
}

void TTestFaillite::echecSansMessage()
{
    // A wrapped failure that is not a std::exception leaves the outer message.
    TLanceur lanceur([] {
        try {
            throw 42;
        } catch (...) {
            std::throw_with_nested(tq::Erreur("Commande interrompue"));
        }
    });
    QEvent evenement(QEvent::User);
    QCoreApplication::sendEvent(&lanceur, &evenement);
    QCOMPARE(iu_->erreurs.size(), 1);
    QCOMPARE(iu_->erreurs[0].message, QStringLiteral("Commande interrompue."));
}

void TTestFaillite::echecInconnu()
{
    TLanceur lanceur([] { throw 42; });
    QEvent evenement(QEvent::User);
    QCoreApplication::sendEvent(&lanceur, &evenement);
    QCOMPARE(iu_->erreurs.size(), 1);
    QCOMPARE(iu_->erreurs[0].message, QStringLiteral("Erreur inconnue."));
}

void TTestFaillite::laBoucleContinue()
{
    int appels = 0;
    QPushButton bouton(QStringLiteral("Statistiques (CSV)"));
    connect(&bouton, &QPushButton::clicked, [&appels] {
        if (++appels == 1)
            throw tq::Erreur("Premier essai");
    });
    bouton.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bouton));

    QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MouseRelease\" not accepted by receiving widget");
    QTest::mouseClick(&bouton, Qt::LeftButton);
    QTest::mouseClick(&bouton, Qt::LeftButton);

    // The second click ran the handler again, without a box.
    QCOMPARE(appels, 2);
    QCOMPARE(iu_->erreurs.size(), 1);
    QVERIFY(bouton.isVisible());
    QVERIFY(!bouton.isDown());
}

void TTestFaillite::captureSourisAnnulee()
{
    QWidget zone;
    zone.resize(200, 100);
    zone.show();
    QVERIFY(QTest::qWaitForWindowExposed(&zone));
    zone.grabMouse();
    QCOMPARE(QWidget::mouseGrabber(), &zone);

    TLanceur lanceur([] { throw tq::Erreur("Echec pendant la capture"); });
    QEvent evenement(QEvent::User);
    QCoreApplication::sendEvent(&lanceur, &evenement);

    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QCOMPARE(iu_->erreurs.size(), 1);
}

void TTestFaillite::titreApplication_data()
{
    QTest::addColumn<QString>("chemin");
    QTest::addColumn<QString>("titre");

    QTest::newRow("programme") << "/usr/bin/tq_statistiques" << "tq_statistiques";
    QTest::newRow("majuscules") << "/opt/TQ_Statistiques" << "Tq_statistiques";
    QTest::newRow("extension") << "C:/Outils/TQStat.exe" << "Tqstat";
    QTest::newRow("premier point") << "/opt/tq.stat.bin" << "tq";
    QTest::newRow("dossier avec point") << "/opt/v1.2/Outil" << "Outil";
    QTest::newRow("sans dossier") << "Stat" << "Stat";
    QTest::newRow("une lettre") << "/bin/X" << "X";
}

void TTestFaillite::titreApplication()
{
    QFETCH(QString, chemin);
    QFETCH(QString, titre);
    QCOMPARE(tq::TitreApplication(chemin), titre);
}

TQ_TEST_FENETRE_MAIN(TTestFaillite)
#include "faillite_test.moc"
