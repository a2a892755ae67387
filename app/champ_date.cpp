#include "app/champ_date.h"

#include <QCalendarWidget>
#include <QDate>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/jour_qdate.h"
#include "app/saisie_champ_date.h"
#include "app/texte_champ_date.h"
#include "platform/caracteres.h"

namespace tq {

using namespace std::chrono;

namespace {

year AnneeCourante()
{
    return year { QDate::currentDate().year() };
}

} // namespace

TChampDate::TChampDate(QWidget* parent)
    : QWidget(parent)
    , texte_(new QLineEdit(this))
    , bouton_(new QToolButton(texte_))
    , deroulant_(new QFrame(this, Qt::Popup))
    , calendrier_(new QCalendarWidget(deroulant_))
{
    setFocusProxy(texte_);
    setFocusPolicy(Qt::StrongFocus);
    texte_->installEventFilter(this);

    // The button sits inside the field's frame, as on a drop-down list.
    bouton_->setObjectName(QStringLiteral("boutonCalendrier"));
    bouton_->setArrowType(Qt::DownArrow);
    bouton_->setAutoRaise(true);
    bouton_->setFocusPolicy(Qt::NoFocus);
    bouton_->setCursor(Qt::ArrowCursor);
    connect(bouton_, &QToolButton::clicked, this, &TChampDate::OuvrirCalendrier);

    deroulant_->setFrameShape(QFrame::Box);
    auto* miseEnPage = new QVBoxLayout(deroulant_);
    miseEnPage->setContentsMargins(1, 1, 1, 1);
    miseEnPage->addWidget(calendrier_);
    // The program speaks French whatever the user's language: the month and
    // day names of the calendar too.
    calendrier_->setLocale(QLocale(QLocale::French, QLocale::France));
    calendrier_->setFirstDayOfWeek(Qt::Monday);
    calendrier_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendrier_->setGridVisible(false);
    connect(calendrier_, &QCalendarWidget::clicked, this, &TChampDate::ChoisirDansCalendrier);
    connect(calendrier_, &QCalendarWidget::activated, this, &TChampDate::ChoisirDansCalendrier);

    DefinirDate(JourZero);
}

year_month_day TChampDate::Date() const
{
    return LireChampDate(texte_->text().toStdU16String(), reglages_, AnneeCourante());
}

void TChampDate::DefinirDate(year_month_day jour)
{
    texte_->setText(QString::fromStdU16String(TexteChampDate(jour, reglages_)));
}

void TChampDate::DefinirReglages(const TReglagesRegionaux& reglages)
{
    const year_month_day jour = Date();
    reglages_ = reglages;
    DefinirDate(jour);
}

QSize TChampDate::sizeHint() const
{
    return QSize(97, 22);
}

void TChampDate::OuvrirCalendrier()
{
    const year_month_day jour = Date();
    const QDate date = jour == JourZero ? QDate::currentDate() : QDateDepuisJour(jour);
    calendrier_->setSelectedDate(date);
    calendrier_->setCurrentPage(date.year(), date.month());

    deroulant_->adjustSize();
    QPoint position = mapToGlobal(QPoint(0, height()));
    if (const QScreen* ecran = screen()) {
        const QRect zone = ecran->availableGeometry();
        if (position.y() + deroulant_->height() > zone.bottom())
            position.setY(mapToGlobal(QPoint(0, 0)).y() - deroulant_->height());
        position.setX(qBound(zone.left(), position.x(), zone.right() - deroulant_->width()));
    }
    deroulant_->move(position);
    deroulant_->show();
    calendrier_->setFocus(Qt::PopupFocusReason);
}

void TChampDate::ChoisirDansCalendrier(QDate date)
{
    DefinirDate(JourDepuisQDate(date));
    deroulant_->hide();
    texte_->setFocus(Qt::PopupFocusReason);
}

void TChampDate::resizeEvent(QResizeEvent* evenement)
{
    QWidget::resizeEvent(evenement);
    texte_->setGeometry(rect());
    const int cadre = texte_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, texte_);
    const int hauteur = height() - 2 * cadre;
    const int largeur = qMin(17, width() / 3);
    bouton_->setGeometry(width() - cadre - largeur, cadre, largeur, hauteur);
    texte_->setTextMargins(0, 0, largeur, 0);
}

bool TChampDate::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet != texte_)
        return QWidget::eventFilter(objet, evenement);
    switch (evenement->type()) {
    case QEvent::KeyPress:
        return TraiterTouche(*static_cast<QKeyEvent*>(evenement));
    case QEvent::FocusIn: {
        // The text field selects all its text on Tab; a date field selects
        // its first number (its last on Shift+Tab).
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        static_cast<QObject*>(texte_)->event(evenement);
        if (raison == Qt::TabFocusReason || raison == Qt::BacktabFocusReason)
            if (const auto saisie =
                    SelectionnerNombre(texte_->text().toStdU16String(),
                                       raison == Qt::TabFocusReason ? TBoutChamp::Premier : TBoutChamp::Dernier))
                Appliquer(*saisie);
        return true;
    }
    case QEvent::FocusOut: {
        // Not when the calendar drops down nor when another program takes
        // the focus: the user has not left the field.
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        if (raison != Qt::PopupFocusReason && raison != Qt::ActiveWindowFocusReason)
            Normaliser();
        return false;
    }
    default:
        return false;
    }
}

bool TChampDate::TraiterTouche(const QKeyEvent& touche)
{
    const bool alt = touche.modifiers().testFlag(Qt::AltModifier);
    // F4 and Alt+Down drop the calendar down from the keyboard.
    if (touche.key() == Qt::Key_F4 || (touche.key() == Qt::Key_Down && alt)) {
        OuvrirCalendrier();
        return true;
    }
    if (touche.key() == Qt::Key_Return || touche.key() == Qt::Key_Enter) {
        Normaliser();
        return false;
    }
    TSaisieDate saisie { texte_->text().toStdU16String(), 0, 0 };
    saisie.debut =
        static_cast<std::size_t>(texte_->hasSelectedText() ? texte_->selectionStart() : texte_->cursorPosition());
    saisie.fin = saisie.debut + static_cast<std::size_t>(texte_->selectionLength());
    std::optional<TSaisieDate> resultat;
    if ((touche.key() == Qt::Key_Up || touche.key() == Qt::Key_Down) && !alt)
        resultat = ChangerNombre(saisie, touche.key() == Qt::Key_Up ? 1 : -1, reglages_, AnneeCourante());
    else if (touche.text().size() == 1 && !alt && !touche.modifiers().testFlag(Qt::ControlModifier)) {
        const char16_t c = touche.text().front().unicode();
        resultat = EstChiffreAscii(c) ? TaperChiffre(saisie, c, reglages_) : TaperSeparateur(saisie, c, reglages_);
    }
    if (!resultat)
        return false;
    Appliquer(*resultat);
    return true;
}

// Through the field's own editing rather than a new text, so that the
// field's undo history is kept.
void TChampDate::Appliquer(const TSaisieDate& saisie)
{
    const QString texte = QString::fromStdU16String(saisie.texte);
    if (texte != texte_->text()) {
        texte_->selectAll();
        texte_->insert(texte);
    }
    texte_->setSelection(static_cast<int>(saisie.debut), static_cast<int>(saisie.fin - saisie.debut));
}

void TChampDate::Normaliser()
{
    const QString texte = QString::fromStdU16String(TexteChampDate(Date(), reglages_));
    if (texte != texte_->text())
        Appliquer(
            { texte.toStdU16String(), static_cast<std::size_t>(texte.size()), static_cast<std::size_t>(texte.size()) });
}

} // namespace tq
