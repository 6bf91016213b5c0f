// Matching the feed's cancelled and moved lessons to the rows of a day's timetable.
#include "CancelledLessons.h"

#include "TimetableImport.h"

#include <algorithm>

namespace {

/// One lesson of the feed at its place in the day's timetable.
struct FeedLesson
{
    QDateTime start;
    QDateTime end;
    QString subject;
    QString tip; // empty when it takes place
};

bool sameSubject(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

/// The day's lessons of the feed, earliest first; a moved one at the start it had.
QList<FeedLesson> lessonsOf(const QList<SchoolDate> &dates, QDate day, const TimetableImportSettings::Values &settings)
{
    QList<FeedLesson> lessons;
    for (const SchoolDate &date : dates) {
        if (date.allDay)
            continue;
        const QString subject = TimetableImportSettings::subjectOf(settings, date.summary);
        const bool moved = date.replaces.isValid() && date.replaces != date.start && !date.cancelled;
        if (moved && date.replaces.date() == day) {
            const QString when = SchoolDates::shortDay(date.start.date()) + u' ' + date.start.toString(QStringLiteral("HH:mm"));
            lessons.append({date.replaces, date.replaces.addSecs(date.start.secsTo(date.end)), subject,
                            QStringLiteral("fällt aus – verlegt auf ") + when});
        } else if (!moved && date.start.date() == day) {
            lessons.append({date.start, date.end, subject, date.cancelled ? QStringLiteral("fällt aus") : QString()});
        }
    }
    std::stable_sort(lessons.begin(), lessons.end(), [](const FeedLesson &a, const FeedLesson &b) { return a.start < b.start; });
    return lessons;
}

} // namespace

QMap<int, QString> CancelledLessons::marks(const QList<SchoolDate> &dates, QDate day, const QStringList &lessons,
                                          const TimetableImportSettings::Values &settings)
{
    QMap<int, QString> result;
    const auto mark = [&](int row, const QString &tip) {
        if (row < 0 || row >= lessons.size() || row >= TimetableImportSettings::MostBellTimes)
            return;
        QString &text = result[row + 1];
        if (!text.contains(tip))
            text = text.isEmpty() ? tip : text + QStringLiteral("; ") + tip;
    };
    const QList<FeedLesson> feed = lessonsOf(dates, day, settings);
    QHash<QString, int> seen; // by subject, lower case: how many of the feed's lessons came before
    for (const FeedLesson &lesson : feed) {
        const int order = seen[lesson.subject.toLower()]++;
        if (lesson.tip.isEmpty())
            continue;
        if (!settings.bellTimes.isEmpty()) {
            for (const int row : TimetableImport::rowsOf(lesson.start, lesson.end, settings.bellTimes)) {
                if (sameSubject(lessons.value(row), lesson.subject))
                    mark(row, lesson.tip);
            }
            continue;
        }
        int found = -1;
        for (int row = 0; row < lessons.size(); ++row) {
            if (sameSubject(lessons[row], lesson.subject) && ++found == order) {
                mark(row, lesson.tip);
                break;
            }
        }
    }
    return result;
}
