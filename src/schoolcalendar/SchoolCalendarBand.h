// The slim band "Demnächst" below the main window's controls: the school's dates of the next 14 days.
#pragma once

#include "SchoolDate.h"

#include <QPushButton>

class SchoolCalendarBand final : public QPushButton
{
    Q_OBJECT
public:
    static constexpr int DaysShown = 14;

    /// Puts the band below everything `window` shows; the window grows by the
    /// band's height while it shows dates, so no control of it moves or is covered.
    explicit SchoolCalendarBand(QWidget *window);

    /// Shows the dates of `dates` from today on for 14 days, or hides the band
    /// when there are none.
    void showDates(const QList<SchoolDate> &dates);
    /// "Di 15.12. Klassenarbeit Mathematik · Fr 18.12. Wandertag"
    static QString bandText(const QList<SchoolDate> &dates, QDate today);

private:
    void place(bool visible);

    QWidget *m_window;
    int m_windowHeight; // without the band
    int m_bottomMargin; // of the window's layout without the band
};
