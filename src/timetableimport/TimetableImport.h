// Taking the timetable from a school's feed: the lessons of the coming school weeks numbered by their bell times.
#pragma once

#include "TimetableImportSettings.h"
#include "model/HolidayStore.h"
#include "model/SchoolWeeks.h"
#include "model/TimetableStore.h"
#include "schoolcalendar/SchoolDate.h"

#include <QDate>
#include <QStringList>

class ProfileFile;

namespace TimetableImport {

/// The school weeks read: the first ones with a lesson from the current week on.
constexpr int SchoolWeeksRead = 4;
/// How many calendar weeks are looked through for them (holidays included).
constexpr int WeeksSearched = 16;

/// The Monday of the week the import starts with: the current week, on a
/// Saturday or Sunday the next.
QDate firstMonday(QDate today);
/// The last day whose lessons can be read: `WeeksSearched` weeks on.
QDate lastDay(QDate today);

/// The distinct start times of the timed lessons on school days from
/// `firstMonday(today)` on, earliest first.
QList<QTime> startTimes(const QList<SchoolDate> &lessons, QDate today);

/// The rows (0-based) of `bells`, earliest first, that a lesson fills: that
/// of the last bell time at or before its start (the first when it starts
/// earlier), and each later one followed by 20 minutes of it at least (the
/// second half of a double period).
QList<int> rowsOf(const QDateTime &start, const QDateTime &end, const QList<QTime> &bells);

struct Proposal
{
    TimetableGrid weekA;
    TimetableGrid weekB;        // week A again when the weeks do not alternate
    bool alternating = false;   // the even and odd weeks differ: A/B weeks are proposed
    SchoolWeeks::Options weeks; // what "WOCHEN" gets when they alternate
    QList<QDate> mondays;       // the school weeks read
    QStringList summaries;      // the distinct SUMMARY texts of the lessons read
    QString warning;            // German, when nothing or not everything could be placed
    bool isEmpty() const { return mondays.isEmpty(); }
};

/// The timetable the lessons of `lessons` give. From `firstMonday(today)`
/// on, the first `SchoolWeeksRead` weeks are read that have a lesson and do
/// not lie wholly inside `holidays`. A lesson goes into the rows of the bell
/// times in `settings` (without any, its `startTimes`) it spans (a double period into two; one starting
/// between bell times into the last bell time before it), its SUMMARY
/// turned into a subject by the settings' short forms; a cancelled lesson
/// counts as well. The weeks are sorted into A and B by `current`'s counting
/// with the first week as A; within the weeks of one kind a cell takes the
/// subject seen most often, so a lesson left out in one of them is kept.
Proposal propose(const QList<SchoolDate> &lessons, QDate today, const std::vector<HolidayStore::Days> &holidays,
                 const SchoolWeeks::Options &current, const TimetableImportSettings::Values &settings);

/// Writes the proposal in one operation: week A, and with alternating weeks
/// week B and "WOCHEN" (A/B weeks on, the first week read as A). While A/B
/// weeks stay on without alternating, week B gets week A's lessons. The
/// bell times and short forms are remembered.
void apply(ProfileFile &ini, const Proposal &proposal, const TimetableImportSettings::Values &settings);

}
