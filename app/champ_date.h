#pragma once

#include <chrono>

#include <QWidget>

#include "platform/reglages_regionaux.h"

class QCalendarWidget;
class QFrame;
class QKeyEvent;
class QLineEdit;
class QToolButton;

namespace tq {

struct TSaisieDate;

// A field holding one calendar day, typed in the user's short date order, with
// a button that drops down a month calendar whose weeks start on Monday. The
// field can be emptied: an empty field, or one whose text is not a date,
// holds day zero, and day zero is shown as an empty field.
//
// It is a text field that types like a date field: a digit fills the
// selected number and moves on to the next once it is complete, a separator
// moves on or is skipped, Up and Down step the number under the cursor, Tab
// selects the first number; once left, the field shows what it holds in the
// user's format (an unreadable text, day zero, as an empty field).
class TChampDate : public QWidget {
    Q_OBJECT
public:
    explicit TChampDate(QWidget* parent = nullptr);

    // The day the text stands for, day zero when it stands for none.
    std::chrono::year_month_day Date() const;
    void DefinirDate(std::chrono::year_month_day jour);

    // Shows the same day again in the order of the new settings.
    void DefinirReglages(const TReglagesRegionaux& reglages);

    QSize sizeHint() const override;

    // Drops the month calendar down under the field, on the day it holds.
    void OuvrirCalendrier();

protected:
    void resizeEvent(QResizeEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void ChoisirDansCalendrier(QDate date);
    bool TraiterTouche(const QKeyEvent& touche);
    void Appliquer(const TSaisieDate& saisie);
    void Normaliser();

    QLineEdit* texte_;
    QToolButton* bouton_;
    QFrame* deroulant_;
    QCalendarWidget* calendrier_;
    TReglagesRegionaux reglages_;
};

} // namespace tq
