// Strikes through the lessons of the main window's day that a school-calendar subscription cancels.
#pragma once

#include "schoolcalendar/SchoolCalendarSettings.h"
#include "schoolcalendar/SchoolDate.h"

#include <QObject>

class SchoolCalendarService;
class TForm1;

class CancelledLessonMarker final : public QObject
{
    Q_OBJECT
public:
    /// Marks the day's cancelled lessons each time the subscriptions' copies
    /// were read anew and each time the main window shows another day.
    CancelledLessonMarker(TForm1 *mainWindow, SchoolCalendarService *service);

    /// Marks the lessons of the day the main window shows.
    void update();

private:
    TForm1 *m_mainWindow;
    // The dates of the copies around the shown day, read again when it leaves them or the copies change.
    QList<SchoolCalendarSettings::Subscription> m_subscriptions;
    QList<SchoolDate> m_dates;
    QDate m_from;
    QDate m_to;
};
