#include <exception>
#include <functional>
#include <memory>

#include <QPushButton>
#include <QTest>

#include "interface_factice.h"
#include "platform/erreur.h"

namespace {

// An object whose every event runs the given handler, as a handler of the window would.
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
    bool Declencher()
    {
        QEvent evenement(QEvent::User);
        return QCoreApplication::sendEvent(this, &evenement);
    }

private:
    std::function<void()> action_;
};

// Throws the messages as a chain, the first outermost, each wrapping the next.
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

const char* const ReleveInterrompu = "Mouse event \"MouseRelease\" not accepted by receiving widget";

} // namespace

class TTestEchec : public QObject {
    Q_OBJECT

    std::unique_ptr<TInterfaceFactice> iu_;

private slots:
    void init()
    {
        iu_ = std::make_unique<TInterfaceFactice>();
        RelaisApplication().cible = iu_.get();
    }
    void cleanup()
    {
        RelaisApplication().cible = &InterfaceParDefaut();
        iu_.reset();
    }

    void pointFinal_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("affiche");
        QTest::newRow("lettre") << QStringLiteral("Connexion refusée") << QStringLiteral("Connexion refusée.");
        QTest::newRow("chiffre") << "Erreur de socket 10061"
                                 << "Erreur de socket 10061.";
        QTest::newRow("point") << "Fin du flux."
                               << "Fin du flux.";
        QTest::newRow("blanc") << "Fin du flux "
                               << "Fin du flux ";
        QTest::newRow("code 41 parenthese") << "Erreur (404)"
                                            << "Erreur (404)";
        QTest::newRow("code 47 barre") << "chemin /"
                                       << "chemin /.";
        QTest::newRow("code 63 interrogation") << "Quoi ?"
                                               << "Quoi ?.";
        QTest::newRow("vide") << QString() << QString();
    }
    // A button's click handler fails: the box shows the message, captioned
    // with the program's name.
    void pointFinal()
    {
        QFETCH(QString, message);
        QFETCH(QString, affiche);
        QPushButton bouton(QStringLiteral("Liste des centres"));
        connect(&bouton, &QPushButton::clicked, [&message] { throw tq::Erreur(message.toStdString()); });
        bouton.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bouton));
        QTest::ignoreMessage(QtWarningMsg, ReleveInterrompu);
        QTest::mouseClick(&bouton, Qt::LeftButton);
        QCOMPARE(iu_->erreurs.size(), 1);
        QCOMPARE(iu_->erreurs[0].message, affiche);
        QCOMPARE(iu_->erreurs[0].titre, QStringLiteral("tq_echec_tests"));
    }

    void echecEmboite_data()
    {
        QTest::addColumn<QStringList>("chaine");
        QTest::addColumn<QString>("affiche");
        QTest::newRow("deux niveaux") << QStringList { "Analyse impossible", "Jeton inattendu" } << "Jeton inattendu.";
        QTest::newRow("trois niveaux") << QStringList { "Commande", "Interrogation", "Connexion refusée" }
                                       << QStringLiteral("Connexion refusée.");
        QTest::newRow("interne vide") << QStringList { "Analyse impossible", "" } << "Analyse impossible.";
        QTest::newRow("milieu vide") << QStringList { "Commande", "", "Hôte inconnu" }
                                     << QStringLiteral("Hôte inconnu.");
    }
    void echecEmboite()
    {
        QFETCH(QStringList, chaine);
        QFETCH(QString, affiche);
        TLanceur lanceur([&chaine] { LancerChaine(chaine); });
        QCOMPARE(lanceur.Declencher(), false);
        QCOMPARE(iu_->erreurs.size(), 1);
        QCOMPARE(iu_->erreurs[0].message, affiche);
    }

    void echecsHorsStd()
    {
        // A wrapped failure that is not a std::exception leaves the outer message.
        TLanceur emboite([] {
            try {
                throw 42;
            } catch (...) {
                std::throw_with_nested(tq::Erreur("Commande interrompue"));
            }
        });
        emboite.Declencher();
        TLanceur inconnu([] { throw 42; });
        inconnu.Declencher();
        QCOMPARE(iu_->erreurs.size(), 2);
        QCOMPARE(iu_->erreurs[0].message, QStringLiteral("Commande interrompue."));
        QCOMPARE(iu_->erreurs[1].message, QStringLiteral("Erreur inconnue."));
    }

    void laBoucleContinue()
    {
        int appels = 0;
        QPushButton bouton(QStringLiteral("Statistiques (CSV)"));
        connect(&bouton, &QPushButton::clicked, [&appels] {
            if (++appels == 1)
                throw tq::Erreur("Premier essai");
        });
        bouton.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bouton));
        QTest::ignoreMessage(QtWarningMsg, ReleveInterrompu);
        QTest::mouseClick(&bouton, Qt::LeftButton);
        QTest::mouseClick(&bouton, Qt::LeftButton);
        QCOMPARE(appels, 2);
        QCOMPARE(iu_->erreurs.size(), 1);
        QVERIFY(!bouton.isDown());
    }

    void captureSourisAnnulee()
    {
        QWidget zone;
        zone.show();
        QVERIFY(QTest::qWaitForWindowExposed(&zone));
        zone.grabMouse();
        QCOMPARE(QWidget::mouseGrabber(), &zone);
        TLanceur lanceur([] { throw tq::Erreur("Echec pendant la capture"); });
        lanceur.Declencher();
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QCOMPARE(iu_->erreurs.size(), 1);
    }

    void titreApplication_data()
    {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<QString>("titre");
        QTest::newRow("programme") << "/usr/bin/tq_statistiques"
                                   << "tq_statistiques";
        QTest::newRow("majuscules") << "/opt/TQ_Statistiques"
                                    << "Tq_statistiques";
        QTest::newRow("premier point") << "/opt/tq.stat.bin"
                                       << "tq";
        QTest::newRow("dossier avec point") << "/opt/v1.2/Outil"
                                            << "Outil";
        QTest::newRow("une lettre") << "X"
                                    << "X";
    }
    void titreApplication()
    {
        QFETCH(QString, chemin);
        QFETCH(QString, titre);
        QCOMPARE(tq::TitreApplication(chemin), titre);
    }
};

TQ_TEST_FENETRE_MAIN(TTestEchec)
#include "echec_test.moc"
