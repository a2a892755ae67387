#include <QCalendarWidget>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "app/champ_date.h"
#include "app/reglages_qlocale.h"
#include "app/texte_champ_date.h"
#include "interface_factice.h"

using namespace std::chrono;

namespace {

tq::TReglagesRegionaux Reglages(const QString& motif, QChar separateur = u'/')
{
    tq::TReglagesRegionaux reglages;
    reglages.formatDateCourt = motif.toStdU16String();
    reglages.separateurDate = separateur.unicode();
    return reglages;
}

year_month_day Jour(QDate d)
{
    return year { d.year() } / month { static_cast<unsigned>(d.month()) } / day { static_cast<unsigned>(d.day()) };
}

QDate EnQDate(year_month_day j)
{
    return QDate(static_cast<int>(j.year()), static_cast<int>(static_cast<unsigned>(j.month())),
                 static_cast<int>(static_cast<unsigned>(j.day())));
}

const QDate DateZero(1899, 12, 30);

// The text of the field as it is shown and typed.
QString TexteAffiche(const tq::TChampDate& champ)
{
    return champ.findChild<QLineEdit*>()->text();
}

} // namespace

class TTestChampDate : public QObject {
    Q_OBJECT

private slots:
    void texte_data()
    {
        QTest::addColumn<QString>("formatCourt");
        QTest::addColumn<QChar>("separateur");
        QTest::addColumn<QDate>("jour");
        QTest::addColumn<QString>("texte");
        QTest::newRow("francais") << "dd/MM/yyyy" << QChar(u'/') << QDate(2019, 3, 5) << "05/03/2019";
        QTest::newRow("americain zeros ajoutes") << "M/d/yy" << QChar(u'/') << QDate(2019, 3, 5) << "03/05/19";
        QTest::newRow("finnois annee longue") << "d.M.yyyy" << QChar(u'.') << QDate(2019, 3, 5) << "05.03.2019";
        QTest::newRow("iso") << "yyyy-MM-dd" << QChar(u'-') << QDate(2024, 2, 29) << "2024-02-29";
        QTest::newRow("separateur des reglages") << "dd/MM/yyyy" << QChar(u'-') << QDate(2019, 3, 5) << "05-03-2019";
        QTest::newRow("jour zero vide") << "dd/MM/yyyy" << QChar(u'/') << DateZero << "";
        QTest::newRow("veille du jour zero") << "dd/MM/yyyy" << QChar(u'/') << QDate(1899, 12, 29) << "29/12/1899";
    }
    void texte()
    {
        QFETCH(QString, formatCourt);
        QFETCH(QChar, separateur);
        QFETCH(QDate, jour);
        QFETCH(QString, texte);
        QCOMPARE(QString::fromStdU16String(tq::TexteChampDate(Jour(jour), Reglages(formatCourt, separateur))), texte);
    }

    void lecture_data()
    {
        QTest::addColumn<QString>("formatCourt");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<int>("anneeCourante");
        QTest::addColumn<QDate>("jour");
        const QString fr = QStringLiteral("dd/MM/yyyy");
        QTest::newRow("francais") << fr << "15/03/2019" << 2025 << QDate(2019, 3, 15);
        QTest::newRow("sans zeros et blancs") << fr << " 5/3/2019 " << 2025 << QDate(2019, 3, 5);
        QTest::newRow("autre separateur admis") << fr << "05.03.2019" << 2025 << QDate(2019, 3, 5);
        QTest::newRow("americain") << "M/d/yy"
                                   << "03/05/19" << 2025 << QDate(2019, 3, 5);
        QTest::newRow("iso") << "yyyy-MM-dd"
                             << "2024-02-29" << 2025 << QDate(2024, 2, 29);
        QTest::newRow("fenetre bas") << fr << "01/01/75" << 2025 << QDate(1975, 1, 1);
        QTest::newRow("fenetre haut") << fr << "01/01/74" << 2025 << QDate(2074, 1, 1);
        QTest::newRow("fenetre l'an suivant") << fr << "01/01/75" << 2026 << QDate(2075, 1, 1);
        QTest::newRow("vide") << fr << "" << 2025 << DateZero;
        QTest::newRow("lettres") << fr << "demain" << 2025 << DateZero;
        QTest::newRow("29 fevrier commun") << fr << "29/02/2023" << 2025 << DateZero;
        QTest::newRow("mois 13") << fr << "05/13/2019" << 2025 << DateZero;
        QTest::newRow("annee 0") << fr << "05/03/0000" << 2025 << DateZero;
        QTest::newRow("deux champs") << fr << "05/03" << 2025 << DateZero;
        QTest::newRow("quatre champs") << fr << "05/03/2019/1" << 2025 << DateZero;
        QTest::newRow("jour trois chiffres") << fr << "005/03/2019" << 2025 << DateZero;
        QTest::newRow("separateur double") << fr << "05//03/2019" << 2025 << DateZero;
        QTest::newRow("nombre immense") << fr << "05/03/99999999999" << 2025 << DateZero;
    }
    void lecture()
    {
        QFETCH(QString, formatCourt);
        QFETCH(QString, texte);
        QFETCH(int, anneeCourante);
        QFETCH(QDate, jour);
        const auto lu = tq::LireChampDate(texte.toStdU16String(), Reglages(formatCourt), year { anneeCourante });
        QCOMPARE(EnQDate(lu), jour);
    }

    void reglagesDuSysteme_data()
    {
        QTest::addColumn<QString>("formatCourt");
        QTest::addColumn<QString>("separateurs"); // date, time, decimal
        QTest::newRow("fr_FR") << "dd/MM/yyyy"
                               << "/:,";
        QTest::newRow("en_US") << "M/d/yy"
                               << "/:.";
        QTest::newRow("de_DE") << "dd.MM.yy"
                               << ".:,";
        QTest::newRow("fi_FI") << "d.M.yyyy"
                               << "..,";
        QTest::newRow("fr_CA") << "yyyy-MM-dd"
                               << "-:,"; // "HH 'h' mm": no time separator
        QTest::newRow("C") << "d MM yyyy"
                           << " :."; // "d MMM yyyy": the month's name counts as two digits
        QTest::newRow("bg_BG") << "d.MM.yy"
                               << ".:,"; // "d.MM.yy 'г'.": the quoted text is left out
    }
    void reglagesDuSysteme()
    {
        QFETCH(QString, formatCourt);
        QFETCH(QString, separateurs);
        const auto r = tq::ReglagesDepuisQLocale(QLocale(QString::fromLatin1(QTest::currentDataTag())));
        QCOMPARE(QString::fromStdU16String(r.formatDateCourt), formatCourt);
        const char16_t lus[] = { r.separateurDate, r.separateurHeure, r.separateurDecimal };
        QCOMPARE(QString::fromUtf16(lus, 3), separateurs);
    }

    void champEfface_data()
    {
        QTest::addColumn<QString>("tape");
        QTest::addColumn<QDate>("jour");
        QTest::newRow("efface") << "" << DateZero;
        QTest::newRow("texte") << "bientot" << DateZero;
        QTest::newRow("incomplet") << "15/03/" << DateZero;
        QTest::newRow("date tapee") << "20/03/2019" << QDate(2019, 3, 20);
    }
    void champEfface()
    {
        QFETCH(QString, tape);
        QFETCH(QDate, jour);
        tq::TChampDate champ;
        champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy")));
        champ.DefinirDate(Jour(QDate(2019, 3, 15)));
        auto* texte = champ.findChild<QLineEdit*>();
        texte->selectAll();
        QTest::keyClick(texte, Qt::Key_Backspace);
        QTest::keyClicks(texte, tape);
        QCOMPARE(TexteAffiche(champ), tape);
        QCOMPARE(EnQDate(champ.Date()), jour);
    }

    void jourZeroEtReglages()
    {
        tq::TChampDate champ;
        champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy")));
        champ.DefinirDate(Jour(QDate(2019, 3, 5)));
        champ.DefinirReglages(Reglages(QStringLiteral("yyyy-MM-dd"), u'-'));
        QCOMPARE(TexteAffiche(champ), QStringLiteral("2019-03-05"));
        champ.DefinirDate(tq::JourZero);
        QVERIFY(TexteAffiche(champ).isEmpty());
    }

    void calendrierDeroulant()
    {
        // The names of the calendar are French even for an English-speaking user.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        tq::TChampDate champ;
        QLocale::setDefault(QLocale::system());
        champ.DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy")));
        champ.DefinirDate(Jour(QDate(2019, 3, 15)));
        champ.resize(97, 22);
        champ.show();
        QVERIFY(QTest::qWaitForWindowExposed(&champ));
        auto* calendrier = champ.findChild<QCalendarWidget*>();
        QCOMPARE(calendrier->firstDayOfWeek(), Qt::Monday);
        QVERIFY(!calendrier->isVisible());

        QTest::mouseClick(champ.findChild<QToolButton*>(QStringLiteral("boutonCalendrier")), Qt::LeftButton);
        QVERIFY(calendrier->isVisible());
        QCOMPARE(calendrier->selectedDate(), QDate(2019, 3, 15));
        QCOMPARE(calendrier->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"))->text(),
                 QStringLiteral("mars"));
        const QAbstractItemModel* jours = calendrier->findChild<QTableView*>()->model();
        QCOMPARE(jours->data(jours->index(0, 0)).toString(), QStringLiteral("lun."));
        // The next day, then Enter: picked, and the calendar closes.
        QVERIFY(calendrier->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!calendrier->isVisible());
        QCOMPARE(TexteAffiche(champ), QStringLiteral("16/03/2019"));

        // F4 drops it down from the keyboard; Escape leaves the day as it was.
        QTest::keyClick(champ.findChild<QLineEdit*>(), Qt::Key_F4);
        QVERIFY(calendrier->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!calendrier->isVisible());
        QCOMPARE(TexteAffiche(champ), QStringLiteral("16/03/2019"));
    }
};

TQ_TEST_FENETRE_MAIN(TTestChampDate)
#include "champ_date_test.moc"
