// A pupil's data after five years of use, for the benchmarks: settings file, grade files, research catalogue.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace FiveYearData {

/// The moment the data set is made for: Monday 07.12.2026, 9:00, a school day
/// outside every holiday period, so the main window is shown at start.
QDateTime now();
/// `now()` as KALMORA_NOW takes it: "2026-12-07T09:00:00".
QString nowText();

/// What one unit of scale holds.
struct Counts
{
    int dueDates = 0;     // sections of "Dates", some of them today or earlier
    int pastDueDates = 0; // of those, the ones the start-up pruning drops
    int homework = 0;     // homework texts over all due dates
    int events = 0;       // one-time, weekly, monthly and yearly events
    int dueEvents = 0;    // occurrences the start-up scan queues
    int alarms = 0;       // all dated after today
    int gradeNodes = 0;   // subjects, categories and grades
    int topics = 0;       // research topics
};
Counts counts(int scale = 1);

/// The settings file "DEZUVEDIRED.INI" as Windows-1252 text with CR LF line
/// ends: the homework of about 1 000 due dates, 2 000 events with time, sound
/// and message, 200 date alarms, the timetable of five days with ten lessons,
/// six holiday periods and the subjects' applications. `scale` multiplies the
/// due dates and events (the alarms, timetable and holidays stay as they are).
QByteArray settingsFile(int scale = 1);
/// "inet.txt": a banner and ten subjects with ten topics each.
QByteArray researchCatalogue();

/// Makes `directory` the program directory (`setProgramDirectory`) and writes
/// the whole data set into it: the settings file, the grade files (through the
/// grade store, so the tree and its records belong together) and the research
/// catalogue. With `soundsFrom` naming a directory, the wave files and the
/// banner picture found there are copied beside them, as an installation has
/// them. Returns false when a file cannot be written.
bool write(const QString &directory, int scale = 1, const QString &soundsFrom = QString());

/// Number of recurring-homework rules a pupil might keep, for `writeRecurringRules`.
constexpr int kRecurringRules = 20;
/// Adds `count` rules of recurring homework to the settings file in the
/// program directory (after `write`), through the rule store: each subject of
/// the timetable once, then the first subjects a second time with another
/// text. Returns false when the file cannot be written.
bool writeRecurringRules(int count = kRecurringRules);

/// Reads the data set in the program directory back through the stores and
/// checks it holds what `counts(scale)` promises; an empty text when it does,
/// else what differs. Run before pruning; sets the clock to `now()`.
QString verify(int scale = 1);

/// Names of the files the data set consists of, for copying and comparing.
QStringList fileNames();

}
