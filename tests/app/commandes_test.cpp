// The five buttons from press to written file, with the real window, offscreen,
// against the scripted server and against the stand-in statistics server.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/champ_date.h"
#include "app/ufrmPrincipale.h"
#include "interface_factice.h"
#include "tests/commun/serveur_scripte.h"

#ifdef TQ_AVEC_SERVEUR
#include <thread>

#include "server/demo.h"
#include "server/serveur_http.h"
#endif

using namespace std::chrono;
using tq::test::TEtapeServeur;
using tq::test::TServeurScripte;

namespace {

constexpr const char* Horodatage = "09:05:03.007: ";

const QString requeteCentres = QStringLiteral(
    "{\"type\":4,\"centre\":[],\"groupe\":[],\"requeteId\":1,\"requetSql\": null,\"id\":0,\"libelle\":null,"
    "\"periode1Debut\":null,\"periode1Fin\":null,\"periode2Debut\":null,\"periode2Fin\":null}");

QString RequeteStatistiques(const char* debut, const char* fin)
{
    return QStringLiteral("{\"type\":100,\"centre\":[],\"groupe\":[],\"requeteId\":1,\"requetSql\": null,\"id\":0,"
                          "\"libelle\":null,\"periode1Debut\":\"%1\",\"periode1Fin\":\"%2\",\"periode2Debut\":null,"
                          "\"periode2Fin\":null}")
        .arg(QLatin1String(debut), QLatin1String(fin));
}

std::string Reponse200(const std::string& corps)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: "
         + std::to_string(corps.size()) + "\r\n\r\n" + corps;
}

// The body of the first request the server received.
QString CorpsRecu(TServeurScripte& serveur)
{
    const std::string requete = serveur.Requete();
    const auto fin = requete.find("\r\n\r\n");
    return fin == std::string::npos ? QString() : QString::fromLatin1(requete.substr(fin + 4));
}

// Paths through UTF-16: a narrow path means the ANSI code page on Windows.
std::filesystem::path CheminSysteme(const QString& chemin)
{
    return std::filesystem::path(chemin.toStdU16String());
}

QByteArray LireFichier(const QString& chemin)
{
    std::ifstream flux(CheminSysteme(chemin), std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(flux), {}));
}

void EcrireFichier(const QString& chemin, const QByteArray& octets)
{
    std::ofstream(CheminSysteme(chemin), std::ios::binary) << octets.toStdString();
}

class TFenetreSondee : public tq::TfrmPrincipale {
public:
    using TfrmPrincipale::TfrmPrincipale;

    template <typename T = QWidget> T* Controle(const char* nom)
    {
        T* controle = findChild<T*>(QString::fromLatin1(nom));
        if (controle == nullptr)
            qFatal("contrôle introuvable : %s", nom);
        return controle;
    }
    QStringList Journal() { return Controle<QPlainTextEdit>("mmoLog")->toPlainText().split(u'\n', Qt::SkipEmptyParts); }
    void Cliquer(const char* bouton) { QTest::mouseClick(Controle(bouton), Qt::LeftButton); }
    QStringList Elements(const char* arbre)
    {
        QStringList libelles;
        auto* vue = Controle<QTreeWidget>(arbre);
        for (int i = 0; i < vue->topLevelItemCount(); ++i)
            libelles << vue->topLevelItem(i)->text(0);
        return libelles;
    }
    void DefinirPeriode(year_month_day debut, year_month_day fin)
    {
        Controle<tq::TChampDate>("edtDebut")->DefinirDate(debut);
        Controle<tq::TChampDate>("edtFin")->DefinirDate(fin);
    }
};

QStringList Lignes(std::initializer_list<const char*> textes)
{
    QStringList lignes;
    for (const char* texte : textes)
        lignes << QString::fromLatin1(Horodatage) + QString::fromUtf8(texte);
    return lignes;
}

} // namespace

class TTestCommandes : public QObject {
    Q_OBJECT

    QTemporaryDir dossier;

    QString Chemin(const char* nom) const { return dossier.filePath(QString::fromLatin1(nom)); }

private slots:
    void listeDesCentres()
    {
        TServeurScripte serveur({ { Reponse200("{\"centres\":[{\"id\":1,\"enseigne\":\"Ch\\u00e2teau "
                                               "Contr\\u00f4le\"},{\"id\":2,\"enseigne\":\"B\\u00e9ziers\"}]}") } });
        TInterfaceFactice interface;
        TFenetreSondee fenetre(interface, serveur.Url());
        fenetre.Cliquer("bntListeCentreStat");

        QCOMPARE(fenetre.Journal(), Lignes({ "Interrogation en cours...", "Interrogation terminée avec succès" }));
        QCOMPARE(CorpsRecu(serveur), requeteCentres);
        const QStringList attendus { QStringLiteral("Chateau Controle"), QStringLiteral("Beziers") };
        for (const char* arbre : { "tvCentreStat", "tvCentreGestion" }) {
            QCOMPARE(fenetre.Elements(arbre), attendus);
            auto* vue = fenetre.Controle<QTreeWidget>(arbre);
            QCOMPARE(vue->currentItem(), vue->topLevelItem(0));
            QVERIFY(vue->topLevelItem(0)->isSelected());
        }
        QVERIFY(interface.typesFichier.isEmpty());
        QVERIFY(interface.confirmations.isEmpty());
        QCOMPARE(interface.curseursOccupes, 1);
        QCOMPARE(interface.restaurations, 1);
    }

    void statistiques_data()
    {
        QTest::addColumn<QByteArray>("bouton");
        QTest::addColumn<QString>("requete");
        QTest::newRow("global") << QByteArray("btnExporterGlobale") << RequeteStatistiques("15/03/2019", "20/03/2019");
        QTest::newRow("centre, premier du mois")
            << QByteArray("btnExporterCentre") << RequeteStatistiques("01/03/2019", "20/03/2019");
    }

    void statistiques()
    {
        QFETCH(QByteArray, bouton);
        QFETCH(QString, requete);
        TServeurScripte serveur(
            { { Reponse200("{\"resultats\":[\"Centre;CA\",\"Ch\\u00e2teau \\\"Nord\\\";1 234,50 \\u20ac\"]}") } });
        TInterfaceFactice interface;
        const QString fichier = Chemin("stats.csv");
        interface.fichiers.enqueue(fichier);
        interface.reponses.enqueue(false);
        TFenetreSondee fenetre(interface, serveur.Url());
        fenetre.DefinirPeriode(year { 2019 } / March / day { 15 }, year { 2019 } / March / day { 20 });
        // The "Centre" group's button stays disabled for the operator; the
        // test enables it to check its start-date rule.
        fenetre.Controle(bouton.constData())->setEnabled(true);
        fenetre.Cliquer(bouton.constData());

        QCOMPARE(interface.typesFichier, QList { tq::TTypeFichier::Csv });
        QCOMPARE(CorpsRecu(serveur), requete);
        QCOMPARE(fenetre.Journal(), Lignes({ "Interrogation en cours...", "Interrogation terminée avec succès",
                                             "Analyse des données", "Terminé" }));
        QCOMPARE(LireFichier(fichier), QByteArray("Centre;CA\r\nCh\xE2teau \"Nord\";1 234,50 \x80\r\n"));
        QCOMPARE(interface.confirmations.size(), 1);
        QCOMPARE(interface.confirmations[0].message, QStringLiteral("Voulez-vous ouvrir le fichier généré ?"));
        QCOMPARE(interface.confirmations[0].titre, QStringLiteral("Confirmer"));
        QVERIFY(interface.documentsOuverts.isEmpty());
        QCOMPARE(interface.restaurations, 1);
    }

    void listeDesAccesEtOuverture()
    {
        TServeurScripte serveur({ { Reponse200("{\"resultats\":[\"Date;Utilisateur\",\"01/03/2019;m.durand\"]}") } });
        TInterfaceFactice interface;
        const QString fichier = Chemin("accès du mois.csv");
        interface.fichiers.enqueue(fichier);
        interface.reponses.enqueue(true);
        TFenetreSondee fenetre(interface, serveur.Url());
        fenetre.Cliquer("btnListeAcces");

        QVERIFY(CorpsRecu(serveur).contains(QStringLiteral("\"type\":100,")
                                            + "\"centre\":[],\"groupe\":[],\"requeteId\":2,"));
        QCOMPARE(LireFichier(fichier), QByteArray("Date;Utilisateur\r\n01/03/2019;m.durand\r\n"));
        QCOMPARE(interface.documentsOuverts, QStringList { fichier });
        QCOMPARE(fenetre.Journal().size(), 4);
    }

    void listeDesCentresJson()
    {
        const std::string corps = "{\"centres\":[{\"id\":1,\"enseigne\":\"\\u00c9cole\"}]}";
        TServeurScripte serveur({ { Reponse200(corps) } });
        TInterfaceFactice interface;
        const QString fichier = Chemin("centres.json");
        interface.fichiers.enqueue(fichier);
        TFenetreSondee fenetre(interface, serveur.Url());
        fenetre.Cliquer("btnListeCentre");

        QCOMPARE(interface.typesFichier, QList { tq::TTypeFichier::Json });
        QCOMPARE(CorpsRecu(serveur), requeteCentres);
        QCOMPARE(fenetre.Journal(), Lignes({ "Interrogation en cours...", "Interrogation terminée avec succès" }));
        QCOMPARE(LireFichier(fichier), QByteArray::fromStdString(corps + "\r\n"));
        QCOMPARE(interface.confirmations.size(), 1);
        QVERIFY(fenetre.Elements("tvCentreStat").isEmpty());
    }

    void annulationDuDialogue_data()
    {
        QTest::addColumn<QByteArray>("bouton");
        QTest::newRow("global") << QByteArray("btnExporterGlobale");
        QTest::newRow("acces") << QByteArray("btnListeAcces");
        QTest::newRow("json") << QByteArray("btnListeCentre");
    }

    void annulationDuDialogue()
    {
        QFETCH(QByteArray, bouton);
        TServeurScripte serveur({ { Reponse200("{}") } });
        TInterfaceFactice interface;
        TFenetreSondee fenetre(interface, serveur.Url());
        fenetre.Cliquer(bouton.constData());

        QCOMPARE(interface.typesFichier.size(), 1);
        QVERIFY(fenetre.Journal().isEmpty());
        QCOMPARE(serveur.NombreConnexions(), 0);
        QCOMPARE(interface.curseursOccupes, 0);
        QCOMPARE(interface.restaurations, 0);
    }

    void erreurHttp()
    {
        TServeurScripte serveur({ { "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 12\r\n\r\nindisponible" } });
        TInterfaceFactice interface;
        const QString fichier = Chemin("erreur.csv");
        interface.fichiers.enqueue(fichier);
        TFenetreSondee fenetre(interface, serveur.Url());
        fenetre.Cliquer("btnExporterGlobale");

        QCOMPARE(fenetre.Journal(),
                 Lignes({ "Interrogation en cours...", "Erreur: indisponible", "Erreur lors de l'interrogation" }));
        QVERIFY(!QFile::exists(fichier));
        QVERIFY(interface.confirmations.isEmpty());
        QVERIFY(interface.erreurs.isEmpty());
        QCOMPARE(interface.restaurations, 1);
    }

    void serveurInjoignable()
    {
        TInterfaceFactice interface;
        const TEchecsVers echecs(interface);
        TFenetreSondee fenetre(interface, "http://127.0.0.1:" + std::to_string(tq::test::PortFerme()));
        fenetre.Cliquer("bntListeCentreStat");

        QCOMPARE(fenetre.Journal(), Lignes({ "Interrogation en cours..." }));
        QCOMPARE(interface.erreurs.size(), 1);
        QCOMPARE(interface.erreurs[0].message, QStringLiteral("Erreur de socket n° 10061\r\nConnexion refusée."));
        QCOMPARE(interface.erreurs[0].titre, QStringLiteral("tq_commandes_tests"));
        QCOMPARE(interface.curseursOccupes, 1);
        QCOMPARE(interface.restaurations, 1);
    }

    void reponseIllisibleGardeLAncienFichier()
    {
        TServeurScripte serveur({ { Reponse200("{\"resultats\":[\"a;b\"") } });
        TInterfaceFactice interface;
        const QString fichier = Chemin("ancien.csv");
        EcrireFichier(fichier, "ancien contenu\r\n");
        interface.fichiers.enqueue(fichier);
        const TEchecsVers echecs(interface);
        TFenetreSondee fenetre(interface, serveur.Url());
        fenetre.Cliquer("btnExporterGlobale");

        QCOMPARE(fenetre.Journal(),
                 Lignes({ "Interrogation en cours...", "Interrogation terminée avec succès", "Analyse des données" }));
        QCOMPARE(interface.erreurs.size(), 1);
        QCOMPARE(interface.erreurs[0].message,
                 QStringLiteral("Réponse du serveur illisible : aucun fichier n'a été écrit."));
        QVERIFY(interface.confirmations.isEmpty());
        QCOMPARE(LireFichier(fichier), QByteArray("ancien contenu\r\n"));
        QCOMPARE(interface.restaurations, 1);
    }

#ifdef TQ_AVEC_SERVEUR
    // The stand-in server with its demo data, as the demo runs it.
    void serveurDeDemonstration()
    {
        tq::TConfigurationServeur configuration;
        configuration.base = Chemin("demo.sqlite").toStdString();
        const year_month_day aujourdhui = year { 2019 } / March / day { 31 };
        const tq::TResumeDemo demo = tq::CreerBaseDemo(configuration.base, aujourdhui);
        tq::TServeurStatistiques serveur(configuration);
        const int port = serveur.Lier("127.0.0.1", 0);
        std::thread fil([&serveur] { serveur.Ecouter(); });
        struct TArret {
            tq::TServeurStatistiques& serveur;
            std::thread& fil;
            ~TArret()
            {
                serveur.Arreter();
                fil.join();
            }
        } arret { serveur, fil };

        TInterfaceFactice interface;
        TFenetreSondee fenetre(interface, "http://127.0.0.1:" + std::to_string(port));
        fenetre.Cliquer("bntListeCentreStat");
        QCOMPARE(fenetre.Elements("tvCentreStat").size(), demo.centres);
        QCOMPARE(fenetre.Elements("tvCentreGestion"), fenetre.Elements("tvCentreStat"));

        const QString fichier = Chemin("demo.csv");
        interface.fichiers.enqueue(fichier);
        fenetre.DefinirPeriode(year { 2019 } / March / day { 1 }, year { 2019 } / March / day { 31 });
        fenetre.Cliquer("btnExporterGlobale");
        const QList<QByteArray> lignes = LireFichier(fichier).split('\n');
        // A header line, one line per centre, and the empty piece after the last CR LF.
        QCOMPARE(lignes.size(), demo.centres + 2);
        for (qsizetype i = 0; i + 1 < lignes.size(); ++i)
            QVERIFY2(lignes[i].endsWith('\r'), lignes[i].constData());
        QCOMPARE(fenetre.Journal().last(), QString::fromLatin1(Horodatage) + QStringLiteral("Terminé"));
    }
#endif
};

TQ_TEST_FENETRE_MAIN(TTestCommandes)
#include "commandes_test.moc"
