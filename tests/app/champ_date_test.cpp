#include <QCalendarWidget>
#include <QHBoxLayout>
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

// A field of the settings holding `texte`, with [debut, debut + longueur)
// selected.
struct TChampPret {
    tq::TChampDate champ;
    QLineEdit* texte = champ.findChild<QLineEdit*>();

    TChampPret(const QString& formatCourt, QChar separateur, const QString& depart, int debut = 0, int longueur = 0)
    {
        champ.DefinirReglages(Reglages(formatCourt, separateur));
        texte->setText(depart);
        texte->setSelection(debut, longueur);
    }
};

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

    // Typing in a field that shows a date, a stretch of it selected.
    void saisie_data()
    {
        QTest::addColumn<QString>("formatCourt");
        QTest::addColumn<QChar>("separateur");
        QTest::addColumn<QString>("depart");
        QTest::addColumn<int>("debut");
        QTest::addColumn<int>("longueur");
        QTest::addColumn<QString>("tape");
        QTest::addColumn<QString>("affiche");
        QTest::addColumn<QDate>("jour");
        const QString fr = QStringLiteral("dd/MM/yyyy");
        const QChar barre = u'/';
        QTest::newRow("chiffres sur le jour") << fr << barre << "01/12/2026" << 0 << 2 << "15032019"
                                              << "15/03/2019" << QDate(2019, 3, 15);
        QTest::newRow("separateurs sautes") << fr << barre << "01/12/2026" << 0 << 2 << "15/03/2019"
                                            << "15/03/2019" << QDate(2019, 3, 15);
        QTest::newRow("separateur apres un chiffre") << fr << barre << "01/12/2026" << 0 << 2 << "1-3.2019"
                                                     << "1/3/2019" << QDate(2019, 3, 1);
        QTest::newRow("mois seul") << fr << barre << "01/12/2026" << 3 << 2 << "07"
                                   << "01/07/2026" << QDate(2026, 7, 1);
        QTest::newRow("americain") << "M/d/yy" << barre << "12/01/26" << 0 << 2 << "031519"
                                   << "03/15/19" << QDate(2019, 3, 15);
        QTest::newRow("allemand") << "dd.MM.yy" << QChar(u'.') << "01.12.26" << 0 << 2 << "150319"
                                  << "15.03.19" << QDate(2019, 3, 15);
        QTest::newRow("finnois") << "d.M.yyyy" << QChar(u'.') << "01.12.2026" << 0 << 2 << "15032019"
                                 << "15.03.2019" << QDate(2019, 3, 15);
        QTest::newRow("C blanc") << "d MM yyyy" << QChar(u' ') << "01 12 2026" << 0 << 2 << "15 03 2019"
                                 << "15 03 2019" << QDate(2019, 3, 15);
        QTest::newRow("japonais annee d'abord") << "yyyy/MM/dd" << barre << "2026/12/01" << 0 << 4 << "20190315"
                                                << "2019/03/15" << QDate(2019, 3, 15);
        // A complete number with nothing selected takes the digit as text.
        QTest::newRow("annee complete") << fr << barre << "15/03/2019" << 10 << 0 << "5"
                                        << "15/03/20195" << DateZero;
        QTest::newRow("separateur apres l'annee") << fr << barre << "15/03/2019" << 10 << 0 << "/"
                                                  << "15/03/2019" << QDate(2019, 3, 15);
        QTest::newRow("champ vide") << fr << barre << "" << 0 << 0 << "15032019"
                                    << "15032019" << DateZero;
    }
    void saisie()
    {
        QFETCH(QString, formatCourt);
        QFETCH(QChar, separateur);
        QFETCH(QString, depart);
        QFETCH(int, debut);
        QFETCH(int, longueur);
        QFETCH(QString, tape);
        QFETCH(QString, affiche);
        QFETCH(QDate, jour);
        TChampPret p(formatCourt, separateur, depart, debut, longueur);
        QTest::keyClicks(p.texte, tape);
        QCOMPARE(p.texte->text(), affiche);
        QCOMPARE(EnQDate(p.champ.Date()), jour);
    }

    // Once the field is left, it shows what it holds in the user's format.
    void champQuitte_data()
    {
        QTest::addColumn<QString>("formatCourt");
        QTest::addColumn<QString>("tape");
        QTest::addColumn<int>("raison");
        QTest::addColumn<QString>("affiche");
        const QString fr = QStringLiteral("dd/MM/yyyy");
        QTest::newRow("zeros ajoutes") << fr << "1/3/2019" << int(Qt::TabFocusReason) << "01/03/2019";
        QTest::newRow("autre separateur") << fr << "15-03-2019" << int(Qt::MouseFocusReason) << "15/03/2019";
        QTest::newRow("blanc devant") << fr << " 15/03/2019" << int(Qt::TabFocusReason) << "15/03/2019";
        QTest::newRow("americain") << "M/d/yy"
                                   << "3/5/19" << int(Qt::TabFocusReason) << "03/05/19";
        QTest::newRow("illisible vide") << fr << "31/02/2019" << int(Qt::TabFocusReason) << "";
        QTest::newRow("efface vide") << fr << "" << int(Qt::TabFocusReason) << "";
        QTest::newRow("autre programme") << fr << "1/3/2019" << int(Qt::ActiveWindowFocusReason) << "1/3/2019";
        QTest::newRow("calendrier deroule") << fr << "1/3/2019" << int(Qt::PopupFocusReason) << "1/3/2019";
    }
    void champQuitte()
    {
        QFETCH(QString, formatCourt);
        QFETCH(QString, tape);
        QFETCH(int, raison);
        QFETCH(QString, affiche);
        TChampPret p(formatCourt, u'/', QString());
        QTest::keyClicks(p.texte, tape);
        QFocusEvent sortie(QEvent::FocusOut, static_cast<Qt::FocusReason>(raison));
        QApplication::sendEvent(p.texte, &sortie);
        QCOMPARE(p.texte->text(), affiche);
    }

    void fleches_data()
    {
        QTest::addColumn<QString>("depart");
        QTest::addColumn<int>("curseur");
        QTest::addColumn<int>("touche");
        QTest::addColumn<QString>("affiche");
        QTest::addColumn<QString>("selection");
        const int haut = Qt::Key_Up, bas = Qt::Key_Down;
        QTest::newRow("jour tourne dans le mois") << "31/01/2024" << 1 << haut << "01/01/2024"
                                                  << "01";
        QTest::newRow("jour vers la fin du mois") << "01/04/2023" << 0 << bas << "30/04/2023"
                                                  << "30";
        QTest::newRow("mois garde un jour du mois") << "31/01/2024" << 3 << haut << "29/02/2024"
                                                    << "02";
        QTest::newRow("mois tourne sans l'annee") << "15/01/2024" << 5 << bas << "15/12/2024"
                                                  << "12";
        QTest::newRow("annee du 29 fevrier") << "29/02/2024" << 8 << bas << "28/02/2023"
                                             << "2023";
        QTest::newRow("annee 9999 bornee") << "01/01/9999" << 10 << haut << "01/01/9999"
                                           << "9999";
        QTest::newRow("format refait") << "1-3-2019" << 0 << haut << "02/03/2019"
                                       << "02";
        QTest::newRow("illisible inchange") << "31/02/2019" << 0 << haut << "31/02/2019"
                                            << "";
    }
    void fleches()
    {
        QFETCH(QString, depart);
        QFETCH(int, curseur);
        QFETCH(int, touche);
        QFETCH(QString, affiche);
        QFETCH(QString, selection);
        TChampPret p(QStringLiteral("dd/MM/yyyy"), u'/', depart, curseur);
        QTest::keyClick(p.texte, static_cast<Qt::Key>(touche));
        QCOMPARE(p.texte->text(), affiche);
        QCOMPARE(p.texte->selectedText(), selection);
    }

    // Reached with Tab, the field selects its first number; with Shift+Tab,
    // its last.
    void tabulation()
    {
        QWidget fenetre;
        auto* avant = new QLineEdit(&fenetre);
        auto* champ = new tq::TChampDate(&fenetre);
        auto* apres = new QLineEdit(&fenetre);
        auto* miseEnPage = new QHBoxLayout(&fenetre);
        for (QWidget* controle :
             { static_cast<QWidget*>(avant), static_cast<QWidget*>(champ), static_cast<QWidget*>(apres) })
            miseEnPage->addWidget(controle);
        champ->DefinirReglages(Reglages(QStringLiteral("dd/MM/yyyy")));
        champ->DefinirDate(Jour(QDate(2026, 12, 1)));
        fenetre.show();
        QApplication::setActiveWindow(&fenetre);
        QVERIFY(QTest::qWaitForWindowActive(&fenetre));
        avant->setFocus();
        QTest::keyClick(avant, Qt::Key_Tab);
        auto* texte = champ->findChild<QLineEdit*>();
        QVERIFY(texte->hasFocus());
        QCOMPARE(texte->selectedText(), QStringLiteral("01"));
        apres->setFocus();
        QTest::keyClick(apres, Qt::Key_Backtab);
        QVERIFY(texte->hasFocus());
        QCOMPARE(texte->selectedText(), QStringLiteral("2026"));
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
