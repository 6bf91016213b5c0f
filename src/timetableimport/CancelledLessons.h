// Which lessons of a day's timetable the school's feeds cancel or move.
#pragma once

#include "TimetableImportSettings.h"
#include "schoolcalendar/SchoolDate.h"

#include <QMap>
#include <QStringList>

namespace CancelledLessons {

/// The lessons (1 to 10) of `day` whose timetable is `lessons` that do not
/// take place, each with its tool tip: "fällt aus", or for a lesson moved
/// elsewhere (a RECURRENCE-ID with another start) "fällt aus – verlegt auf
/// Di 15.12. 10:40". A feed's lesson is matched to the timetable by its
/// subject (its SUMMARY through the short forms, letter case aside) at the
/// rows of the remembered bell times it spans; without bell times by subject
/// and order on that day: the second lesson of a subject in the feed is the
/// second of that subject in the timetable.
QMap<int, QString> marks(const QList<SchoolDate> &dates, QDate day, const QStringList &lessons,
                         const TimetableImportSettings::Values &settings);

}
