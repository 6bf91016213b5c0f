// The marks of cancelled lessons, from the kept copies of the subscriptions.
#include "CancelledLessonMarker.h"

#include "CancelledLessons.h"
#include "main2/TForm1.h"
#include "model/TimetableStore.h"
#include "platform/ErrorReporter.h"
#include "schoolcalendar/SchoolCalendar.h"
#include "schoolcalendar/SchoolCalendarService.h"

namespace {
// A lesson can be moved weeks ahead; its replacement is looked for that far around the day.
constexpr int kDaysBefore = 28;
constexpr int kDaysAfter = 56;
}

CancelledLessonMarker::CancelledLessonMarker(TForm1 *mainWindow, SchoolCalendarService *service)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
{
    connect(service, &SchoolCalendarService::datesChanged, this, [this] {
        m_from = QDate(); // the copies changed
        ErrorReporter::guarded([this] { update(); });
    });
    connect(mainWindow, &TForm1::timetableFilled, this, [this] { ErrorReporter::guarded([this] { update(); }); });
}

void CancelledLessonMarker::update()
{
    const QDate day = m_mainWindow->TimetableDate();
    const QList<SchoolCalendarSettings::Subscription> subscriptions = SchoolCalendarSettings::load();
    if (subscriptions != m_subscriptions || !m_from.isValid() || day < m_from.addDays(kDaysBefore / 2)
        || day > m_to.addDays(-kDaysAfter / 2)) {
        m_subscriptions = subscriptions;
        m_from = day.addDays(-kDaysBefore);
        m_to = day.addDays(kDaysAfter);
        m_dates = SchoolCalendar::read(subscriptions, m_from, m_to).dates;
    }
    m_mainWindow->MarkLessons(day, CancelledLessons::marks(m_dates, day, TimetableStore::lessonsOn(day),
                                                           TimetableImportSettings::read()));
}
