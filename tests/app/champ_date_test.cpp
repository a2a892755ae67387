#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "app/champ_date.h"
#include "app/reglages_qlocale.h"
#include "app/texte_champ_date.h"
#include "interface_factice.h"

using namespace std::chrono;

namespace {

tq::TReglagesRegionaux Reglages(const QString& motif, QChar separateur)
{
    tq::TReglagesRegionaux reglages;
    reglages.formatDateCourt = motif.toStdU16String();
    reglages.separateurDate = separateur.unicode();
    return reglages;
}

year_month_day Jour(QDate date)
{
    return year { date.year() } / month { static_cast<unsigned>(date.month()) } /
        day { static_cast<unsigned>(date.day()) };
}

QDate EnQDate(year_month_day jour)
{
    return QDate(static_cast<int>(jour.year()), static_cast<int>(static_cast<unsigned>(jour.month())),
                 static_cast<int>(static_cast<unsigned>(jour.day())));
}

const QDate DateZero(1899, 12, 30);

} // namespace

class TTestChampDate : public QObject {
    Q_OBJECT

private slots:
    void motif_data();
    void motif();
    void texte_data();
    void texte();
    void lecture_data();
    void lecture();
    void reglagesDuSysteme_data();
    void reglagesDuSysteme();
    void champVideLuCommeJourZero_data();
    void champVideLuCommeJourZero();
    void jourZeroAfficheVide();
    void dateTapeeRelue();
    void calendrierDeroulant();
    void changementDeReglagesGardeLeJour();
};

void TTestChampDate::motif_data()
{
    QTest::addColumn<QString>("formatCourt");
    QTest::addColumn<QString>("motif");
    QTest::newRow("americain") << "M/d/yy" << "MM/dd/yy";
    QTest::newRow("francais") << "dd/MM/yyyy" << "dd/MM/yyyy";
    QTest::newRow("finnois") << "d.M.yyyy" << "dd.MM.yyyy";
    QTest::newRow("iso") << "yyyy-MM-dd" << "yyyy-MM-dd";
    QTest::newRow("separateur long") << "d. M. yyyy" << "dd. MM. yyyy";
}

void TTestChampDate::motif()
{
    QFETCH(QString, formatCourt);
    QFETCH(QString, motif);
    QCOMPARE(QString::fromStdU16String(tq::MotifChampDate(Reglages(formatCourt, u'/'))), motif);
}

void TTestChampDate::texte_data()
{
    QTest::addColumn<QString>("formatCourt");
    QTest::addColumn<QChar>("separateur");
    QTest::addColumn<QDate>("jour");
    QTest::addColumn<QString>("texte");

    QTest::newRow("francais") << "dd/MM/yyyy" << QChar(u'/') << QDate(2019, 3, 5) << "05/03/2019";
    QTest::newRow("americain deux chiffres") << "M/d/yy" << QChar(u'/') << QDate(2019, 3, 5) << "03/05/19";
    QTest::newRow("allemand") << "dd.MM.yy" << QChar(u'.') << QDate(2019, 12, 31) << "31.12.19";
    QTest::newRow("iso") << "yyyy-MM-dd" << QChar(u'-') << QDate(2024, 2, 29) << "2024-02-29";
    QTest::newRow("separateur des reglages") << "dd/MM/yyyy" << QChar(u'-') << QDate(2019, 3, 5) << "05-03-2019";
    QTest::newRow("an 2000 sur deux chiffres") << "M/d/yy" << QChar(u'/') << QDate(2000, 1, 1) << "01/01/00";
    QTest::newRow("jour zero vide") << "dd/MM/yyyy" << QChar(u'/') << DateZero << "";
    QTest::newRow("veille du jour zero") << "dd/MM/yyyy" << QChar(u'/') << QDate(1899, 12, 29) << "29/12/1899";
}

void TTestChampDate::texte()
{
    QFETCH(QString, formatCourt);
    QFETCH(QChar, separateur);
    QFETCH(QDate, jour);
    QFETCH(QString, texte);
    QCOMPARE(QString::fromStdU16String(tq::TexteChampDate(Jour(jour), Reglages(formatCourt, separateur))), texte);
}

void TTestChampDate::lecture_data()
{
    QTest::addColumn<QString>("formatCourt");
    QTest::addColumn<QChar>("separateur");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("anneeCourante");
    QTest::addColumn<QDate>("jour");

    const QString fr = QStringLiteral("dd/MM/yyyy");
    const QChar barre(u'/');
    QTest::newRow("francais") << fr << barre << "15/03/2019" << 2025 << QDate(2019, 3, 15);
    QTest::newRow("sans zeros") << fr << barre << "5/3/2019" << 2025 << QDate(2019, 3, 5);
    QTest::newRow("blancs autour") << fr << barre << "  05/03/2019 " << 2025 << QDate(2019, 3, 5);
    QTest::newRow("autre separateur admis") << fr << barre << "05.03.2019" << 2025 << QDate(2019, 3, 5);
    QTest::newRow("americain") << "M/d/yy" << barre << "03/05/19" << 2025 << QDate(2019, 3, 5);
    QTest::newRow("iso") << "yyyy-MM-dd" << QChar(u'-') << "2024-02-29" << 2025 << QDate(2024, 2, 29);
    QTest::newRow("29 fevrier bissextile") << fr << barre << "29/02/2024" << 2025 << QDate(2024, 2, 29);
    QTest::newRow("fenetre bas") << fr << barre << "01/01/75" << 2025 << QDate(1975, 1, 1);
    QTest::newRow("fenetre haut") << fr << barre << "01/01/74" << 2025 << QDate(2074, 1, 1);
    QTest::newRow("fenetre autre annee") << fr << barre << "01/01/75" << 2026 << QDate(2075, 1, 1);
    QTest::newRow("an 00") << fr << barre << "01/01/00" << 2025 << QDate(2000, 1, 1);
    QTest::newRow("vide") << fr << barre << "" << 2025 << DateZero;
    QTest::newRow("blancs seuls") << fr << barre << "   " << 2025 << DateZero;
    QTest::newRow("lettres") << fr << barre << "demain" << 2025 << DateZero;
    QTest::newRow("29 fevrier commun") << fr << barre << "29/02/2023" << 2025 << DateZero;
    QTest::newRow("31 avril") << fr << barre << "31/04/2019" << 2025 << DateZero;
    QTest::newRow("mois 13") << fr << barre << "05/13/2019" << 2025 << DateZero;
    QTest::newRow("jour 0") << fr << barre << "00/03/2019" << 2025 << DateZero;
    QTest::newRow("annee 0") << fr << barre << "05/03/0000" << 2025 << DateZero;
    QTest::newRow("deux champs") << fr << barre << "05/03" << 2025 << DateZero;
    QTest::newRow("quatre champs") << fr << barre << "05/03/2019/1" << 2025 << DateZero;
    QTest::newRow("annee cinq chiffres") << fr << barre << "05/03/20190" << 2025 << DateZero;
    QTest::newRow("jour trois chiffres") << fr << barre << "005/03/2019" << 2025 << DateZero;
    QTest::newRow("separateur double") << fr << barre << "05//03/2019" << 2025 << DateZero;
    QTest::newRow("texte apres") << fr << barre << "05/03/2019x" << 2025 << DateZero;
    QTest::newRow("nombre immense") << fr << barre << "05/03/99999999999" << 2025 << DateZero;
}

void TTestChampDate::lecture()
{
    QFETCH(QString, formatCourt);
    QFETCH(QChar, separateur);
    QFETCH(QString, texte);
    QFETCH(int, anneeCourante);
    QFETCH(QDate, jour);
    const year_month_day lu =
        tq::LireChampDate(texte.toStdU16String(), Reglages(formatCourt, separateur), year { anneeCourante });
    QCOMPARE(EnQDate(lu), jour);
}

void TTestChampDate::reglagesDuSysteme_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("formatCourt");
    QTest::addColumn<QChar>("separateurDate");
    QTest::addColumn<QChar>("separateurHeure");
    QTest::addColumn<QChar>("separateurDecimal");

    QTest::newRow("fr_FR") << "fr_FR" << "dd/MM/yyyy" << QChar(u'/') << QChar(u':') << QChar(u',');
    QTest::newRow("en_US") << "en_US" << "M/d/yy" << QChar(u'/') << QChar(u':') << QChar(u'.');
    QTest::newRow("de_DE") << "de_DE" << "dd.MM.yy" << QChar(u'.') << QChar(u':') << QChar(u',');
    QTest::newRow("fi_FI") << "fi_FI" << "d.M.yyyy" << QChar(u'.') << QChar(u'.') << QChar(u',');
    QTest::newRow("fr_CA heure sans separateur") << "fr_CA" << "yyyy-MM-dd" << QChar(u'-') << QChar(u':')
                                                 << QChar(u',');
    // The C locale's short date names the month: it counts as none.
    QTest::newRow("C") << "C" << "M/d/yy" << QChar(u'/') << QChar(u':') << QChar(u'.');
}

void TTestChampDate::reglagesDuSysteme()
{
    QFETCH(QString, locale);
    QFETCH(QString, formatCourt);
    QFETCH(QChar, separateurDate);
    QFETCH(QChar, separateurHeure);
    QFETCH(QChar, separateurDecimal);

    const tq::TReglagesRegionaux reglages = tq::ReglagesDepuisQLocale(QLocale(locale));
    QCOMPARE(QString::fromStdU16String(reglages.formatDateCourt), formatCourt);
    QCOMPARE(QChar(reglages.separateurDate), separateurDate);
    QCOMPARE(QChar(reglages.separateurHeure), separateurHeure);
    QCOMPARE(QChar(reglages.separateurDecimal), separateurDecimal);
}

void TTestChampDate::champVideLuCommeJourZero_data()
{
    QTest::addColumn<QString>("tape");
    QTest::newRow("efface") << "";
    QTest::newRow("texte") << "bientot";
    QTest::newRow("date incomplete") << "15/03/";
}

void TTestChampDate::champVideLuCommeJourZero()
{
    QFETCH(QString, tape);
    tq::TChampDate champ;
    champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy"), u'/'));
    champ.DefinirDate(Jour(QDate(2019, 3, 15)));

    auto* texte = champ.findChild<QLineEdit*>();
    texte->selectAll();
    QTest::keyClick(texte, Qt::Key_Backspace);
    QTest::keyClicks(texte, tape);
    QCOMPARE(champ.Texte(), tape);
    QCOMPARE(EnQDate(champ.Date()), DateZero);
}

void TTestChampDate::jourZeroAfficheVide()
{
    tq::TChampDate champ;
    champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy"), u'/'));
    champ.DefinirDate(Jour(QDate(2019, 3, 15)));
    QCOMPARE(champ.Texte(), QStringLiteral("15/03/2019"));
    champ.DefinirDate(tq::JourZero);
    QVERIFY(champ.Texte().isEmpty());
    QCOMPARE(EnQDate(champ.Date()), DateZero);
}

void TTestChampDate::dateTapeeRelue()
{
    tq::TChampDate champ;
    champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy"), u'/'));
    auto* texte = champ.findChild<QLineEdit*>();
    QTest::keyClicks(texte, QStringLiteral("20/03/2019"));
    QCOMPARE(EnQDate(champ.Date()), QDate(2019, 3, 20));
}

void TTestChampDate::calendrierDeroulant()
{
    tq::TChampDate champ;
    champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy"), u'/'));
    champ.DefinirDate(Jour(QDate(2019, 3, 15)));
    champ.resize(97, 22);
    champ.show();
    QVERIFY(QTest::qWaitForWindowExposed(&champ));

    auto* calendrier = champ.findChild<QCalendarWidget*>();
    QVERIFY(calendrier != nullptr);
    QCOMPARE(calendrier->firstDayOfWeek(), Qt::Monday);
    QVERIFY(!calendrier->isVisible());

    QTest::mouseClick(champ.findChild<QToolButton*>(QStringLiteral("boutonCalendrier")), Qt::LeftButton);
    QVERIFY(calendrier->isVisible());
    QCOMPARE(calendrier->selectedDate(), QDate(2019, 3, 15));

    // Moving to the next day and pressing Enter picks it and closes the calendar.
    QWidget* jours = QApplication::focusWidget();
    QVERIFY(jours != nullptr && calendrier->isAncestorOf(jours));
    QTest::keyClick(jours, Qt::Key_Right);
    QTest::keyClick(jours, Qt::Key_Return);
    QVERIFY(!calendrier->isVisible());
    QCOMPARE(champ.Texte(), QStringLiteral("16/03/2019"));
    QCOMPARE(EnQDate(champ.Date()), QDate(2019, 3, 16));

    // F4 drops it down from the keyboard.
    QTest::keyClick(champ.findChild<QLineEdit*>(), Qt::Key_F4);
    QVERIFY(calendrier->isVisible());
    QVERIFY(calendrier->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!calendrier->isVisible());
    QCOMPARE(champ.Texte(), QStringLiteral("16/03/2019"));
}

void TTestChampDate::changementDeReglagesGardeLeJour()
{
    tq::TChampDate champ;
    champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy"), u'/'));
    champ.DefinirDate(Jour(QDate(2019, 3, 5)));
    champ.DefinirReglages(Reglages(QStringLiteral("yyyy-MM-dd"), u'-'));
    QCOMPARE(champ.Texte(), QStringLiteral("2019-03-05"));
    QCOMPARE(EnQDate(champ.Date()), QDate(2019, 3, 5));
}

TQ_TEST_FENETRE_MAIN(TTestChampDate)
#include "champ_date_test.moc"
