// The rules of taking the timetable from a feed.
#include "TimetableImport.h"

#include <QMap>

#include <algorithm>
#include <array>
#include <set>

namespace {

constexpr int kDays = 5;
constexpr int kLessons = 10;

bool isLesson(const SchoolDate &date)
{
    return !date.allDay && date.start.isValid() && date.start.date().dayOfWeek() <= Qt::Friday;
}

QTime minuteOf(const QDateTime &moment)
{
    const QTime time = moment.time();
    return QTime(time.hour(), time.minute());
}

bool holidayWeek(QDate monday, const std::vector<HolidayStore::Days> &holidays)
{
    for (int day = 0; day < kDays; ++day) {
        const QDate date = monday.addDays(day);
        if (std::none_of(holidays.begin(), holidays.end(), [&](const auto &period) { return period.contains(date); }))
            return false;
    }
    return true;
}

/// The subjects seen in one cell over the weeks of one kind: most often seen wins, the first seen of equals.
class Votes
{
public:
    void add(const QString &subject)
    {
        if (!m_counts.contains(subject))
            m_order.append(subject);
        ++m_counts[subject];
    }
    QString winner() const
    {
        QString best;
        int most = 0;
        for (const QString &subject : m_order) {
            if (m_counts.value(subject) > most) {
                best = subject;
                most = m_counts.value(subject);
            }
        }
        return best;
    }

private:
    QHash<QString, int> m_counts;
    QStringList m_order;
};

using WeekVotes = std::array<std::array<Votes, kLessons>, kDays>;

TimetableGrid gridOf(const WeekVotes &votes)
{
    TimetableGrid grid;
    grid.at(0, 0) = QStringLiteral("Zeit");
    for (int c = 1; c <= kDays; ++c) {
        grid.at(c, 0) = TimetableStore::SchoolDayNames()[c - 1];
        for (int r = 1; r <= kLessons; ++r)
            grid.at(c, r) = votes[c - 1][r - 1].winner();
    }
    for (int r = 1; r <= kLessons; ++r)
        grid.at(0, r) = QString::number(r);
    return grid;
}

} // namespace

QDate TimetableImport::firstMonday(QDate today)
{
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    return today.dayOfWeek() >= Qt::Saturday ? monday.addDays(7) : monday;
}

QDate TimetableImport::lastDay(QDate today)
{
    return firstMonday(today).addDays(7 * WeeksSearched - 1);
}

QList<int> TimetableImport::rowsOf(const QDateTime &start, const QDateTime &end, const QList<QTime> &bells)
{
    // A later bell time counts when at least this much of the lesson follows it.
    constexpr int kShortestLessonSecs = 20 * 60;
    const QTime from = minuteOf(start);
    const int length = int(std::min<qint64>(start.secsTo(end), 24 * 3600));
    QList<int> rows;
    for (int row = 0; row < bells.size(); ++row) {
        if (bells[row] <= from)
            rows = {row};
        else if (from.secsTo(bells[row]) + kShortestLessonSecs <= length)
            rows.append(row);
    }
    if (rows.isEmpty() && !bells.isEmpty())
        rows.append(0);
    return rows;
}

QList<QTime> TimetableImport::startTimes(const QList<SchoolDate> &lessons, QDate today)
{
    const QDate from = firstMonday(today);
    std::set<QTime> times;
    for (const SchoolDate &lesson : lessons) {
        if (isLesson(lesson) && lesson.start.date() >= from)
            times.insert(minuteOf(lesson.start));
    }
    return QList<QTime>(times.begin(), times.end());
}

TimetableImport::Proposal TimetableImport::propose(const QList<SchoolDate> &lessons, QDate today,
                                                   const std::vector<HolidayStore::Days> &holidays,
                                                   const SchoolWeeks::Options &current,
                                                   const TimetableImportSettings::Values &settings)
{
    Proposal proposal;
    proposal.weeks = {true, firstMonday(today), current.counting};
    const QList<QTime> bells = (settings.bellTimes.isEmpty() ? startTimes(lessons, today) : settings.bellTimes).mid(0, kLessons);
    // The lessons by the Monday of their week.
    QMap<QDate, QList<const SchoolDate *>> byWeek;
    for (const SchoolDate &lesson : lessons) {
        if (isLesson(lesson))
            byWeek[lesson.start.date().addDays(1 - lesson.start.date().dayOfWeek())].append(&lesson);
    }
    std::array<WeekVotes, 2> votes;
    std::array<bool, 2> seen = {false, false};
    std::set<QString> summaries;
    bool misplaced = false;
    for (int week = 0; week < WeeksSearched && proposal.mondays.size() < SchoolWeeksRead; ++week) {
        const QDate monday = proposal.weeks.reference.addDays(7 * week);
        const auto found = byWeek.constFind(monday);
        if (found == byWeek.cend() || holidayWeek(monday, holidays))
            continue;
        proposal.mondays.append(monday);
        const int kind = SchoolWeeks::weekOf(proposal.weeks, monday, holidays) == Week::A ? 0 : 1;
        seen[kind] = true;
        for (const SchoolDate *lesson : *found) {
            summaries.insert(lesson->summary);
            const QString subject = TimetableImportSettings::subjectOf(settings, lesson->summary);
            const QList<int> rows = rowsOf(lesson->start, lesson->end, bells);
            if (bells.size() == kLessons && minuteOf(lesson->start) > bells.last())
                misplaced = true;
            for (const int row : rows)
                votes[kind][lesson->start.date().dayOfWeek() - 1][row].add(subject);
        }
    }
    proposal.summaries = QStringList(summaries.begin(), summaries.end());
    proposal.weekA = gridOf(votes[0]);
    proposal.weekB = gridOf(votes[1]);
    proposal.alternating = seen[0] && seen[1] && !(proposal.weekA == proposal.weekB);
    if (proposal.isEmpty())
        proposal.warning = QStringLiteral("Der Kalender enthält in den nächsten %1 Wochen keine Unterrichtsstunden.").arg(WeeksSearched);
    else if (misplaced)
        proposal.warning = QStringLiteral("Manche Stunden beginnen nach der zehnten Stunde; sie stehen in der zehnten.");
    if (!proposal.alternating)
        proposal.weekB = proposal.weekA;
    return proposal;
}

void TimetableImport::apply(ProfileFile &ini, const Proposal &proposal, const TimetableImportSettings::Values &settings)
{
    TimetableStore::SaveTimetable(ini, proposal.weekA, Week::A);
    if (proposal.alternating) {
        TimetableStore::SaveTimetable(ini, proposal.weekB, Week::B);
        SchoolWeeks::write(ini, proposal.weeks);
    } else if (SchoolWeeks::read(ini).on) {
        TimetableStore::SaveTimetable(ini, proposal.weekA, Week::B);
    }
    TimetableImportSettings::write(ini, settings);
}
