// A pupil's data after five years of use, for the benchmarks.
#include "FiveYearData.h"

#include "model/EventStore.h"
#include "model/GradeStore.h"
#include "model/HolidayStore.h"
#include "model/ResearchCatalogue.h"
#include "model/TimetableStore.h"
#include "model/AlarmStore.h"
#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/ProgramDirectory.h"
#include "platform/Win1252.h"
#include "recurring/RecurringHomework.h"

#include <QDir>
#include <QFile>

#include <array>

namespace {

const QStringList &subjects()
{
    static const QStringList names = {
        QStringLiteral("Mathematik"), QStringLiteral("Deutsch"),    QStringLiteral("Englisch"),
        QStringLiteral("Französisch"), QStringLiteral("Latein"),    QStringLiteral("Biologie"),
        QStringLiteral("Physik"),     QStringLiteral("Chemie"),     QStringLiteral("Geschichte"),
        QStringLiteral("Erdkunde"),   QStringLiteral("Kunst"),      QStringLiteral("Musik"),
        QStringLiteral("Sport"),      QStringLiteral("Ev. Religion"), QStringLiteral("Informatik"),
    };
    return names;
}

constexpr int kDueDates = 1000;
constexpr int kPastDueDates = 8; // school days before today that the last run left behind
constexpr int kOneTimeEvents = 1200;
constexpr int kWeeklyEvents = 400;
constexpr int kMonthlyEvents = 200;
constexpr int kYearlyEvents = 200;
constexpr int kAlarms = 200;
constexpr int kTopicsPerSubject = 10;
constexpr int kResearchSubjects = 10;

// Lesson r (1..10) of school day c (1..5): every subject several times a week.
QString lesson(int day, int row)
{
    return subjects()[((day - 1) * 7 + (row - 1) * 3) % subjects().size()];
}

// The school days from `first` on, Monday to Friday.
QDate nextSchoolDay(QDate date)
{
    do
        date = date.addDays(1);
    while (date.dayOfWeek() >= Qt::Saturday);
    return date;
}

class Text final
{
public:
    void section(const QString &name) { m_text += u'[' + name + QStringLiteral("]\r\n"); }
    void entry(const QString &key, const QString &value) { m_text += key + u'=' + value + QStringLiteral("\r\n"); }
    QByteArray bytes() const { return Win1252::encode(m_text); }

private:
    QString m_text;
};

struct EventSeries
{
    EventKind kind;
    int count;
    const char16_t *word;
};

std::array<EventSeries, 4> eventSeries(int scale)
{
    return {{{EventKind::OneTime, kOneTimeEvents * scale, u"Termin"},
             {EventKind::Weekly, kWeeklyEvents * scale, u"Woche"},
             {EventKind::Monthly, kMonthlyEvents * scale, u"Monat"},
             {EventKind::Yearly, kYearlyEvents * scale, u"Jahr"}}};
}

// Never ending in a digit, so that a name and its message line keys ("name" + index) cannot meet.
QString eventName(const EventSeries &series, int i)
{
    static const QStringList topics = {QStringLiteral("Zahnarzt"), QStringLiteral("Elternabend"), QStringLiteral("Training"),
                                       QStringLiteral("Bücherei"), QStringLiteral("Geburtstag"), QStringLiteral("Nachhilfe"),
                                       QStringLiteral("Klassenfahrt"), QStringLiteral("Konzert")};
    return QStringLiteral("%1 Nr. %2 %3").arg(QString::fromUtf16(series.word)).arg(i).arg(topics[i % topics.size()]);
}

// The day of event i of a kind: the first ones are today (and one yesterday,
// not yet acknowledged), so the start-up scan has work; the others lie on
// later days, one per day since a kind holds one event per date.
QDate eventDate(const EventSeries &series, int i)
{
    const QDate today = FiveYearData::now().date();
    if (series.kind == EventKind::OneTime)
        return today.addDays(i - 1);
    return today.addDays(i);
}

// Time-dependent times before 9:00 make today's events due at start; the
// weekly one of today at 10:00 is queued but not yet due.
QString eventTime(const EventSeries &series, int i)
{
    if (i == 0) {
        switch (series.kind) {
        case EventKind::OneTime: return QStringLiteral("#8:00");
        case EventKind::Weekly: return QStringLiteral("#10:00");
        case EventKind::Monthly: return QStringLiteral("6:00");
        case EventKind::Yearly: return QStringLiteral("#7:30");
        }
    }
    static const QStringList times = {QStringLiteral("#7:45"), QStringLiteral("6:00"), QStringLiteral("#14:30"),
                                      QStringLiteral("#16:15"), QStringLiteral("6:00"), QStringLiteral("#19:00")};
    return times[i % times.size()];
}

QString eventSound(int i)
{
    if (i % 7 == 3)
        return QString(); // entered without a sound
    return i % 3 == 0 ? QStringLiteral("STANDARD.WAV") : QStringLiteral("DEFAULT.WAV");
}

QStringList eventLines(int i)
{
    QStringList lines = {QStringLiteral("Heft und Mappe mitbringen")};
    if (i % 2)
        lines.append(QStringLiteral("Treffpunkt am Haupteingang, %1 Minuten vorher").arg(5 + i % 20));
    if (i % 5 == 0)
        lines.append(QStringLiteral("Unterschrift der Eltern nicht vergessen!"));
    return lines;
}

void writeEvents(Text &text, int scale)
{
    for (const EventSeries &series : eventSeries(scale)) {
        text.section(EventStore::sectionName(series.kind));
        for (int i = 0; i < series.count; ++i)
            text.entry(EventStore::dateText(eventDate(series, i)), eventName(series, i));
    }
    text.section(EventStore::timeSection());
    for (const EventSeries &series : eventSeries(scale)) {
        for (int i = 0; i < series.count; ++i)
            text.entry(eventName(series, i), eventTime(series, i));
    }
    text.section(EventStore::soundSection());
    for (const EventSeries &series : eventSeries(scale)) {
        for (int i = 0; i < series.count; ++i)
            text.entry(eventName(series, i), eventSound(i));
    }
    text.section(EventStore::memoSection());
    for (const EventSeries &series : eventSeries(scale)) {
        for (int i = 0; i < series.count; ++i) {
            const QString name = eventName(series, i);
            const QStringList lines = eventLines(i);
            text.entry(name + u'#', QString::number(lines.size() - 1));
            for (qsizetype k = 0; k < lines.size(); ++k)
                text.entry(name + QString::number(k), lines[k]);
        }
    }
    // Two reminders snoozed to later today.
    text.section(EventStore::snoozeSection());
    const QDateTime now = FiveYearData::now();
    text.entry(EventStore::snoozeKey(now.addSecs(2 * 3600)), eventName(eventSeries(scale)[0], 5));
    text.entry(EventStore::snoozeKey(now.addSecs(5 * 3600)), eventName(eventSeries(scale)[1], 3));
}

QStringList dueDateTexts(int scale)
{
    QDate date = FiveYearData::now().date();
    for (int back = 0; back < kPastDueDates; ) {
        date = date.addDays(-1);
        if (date.dayOfWeek() < Qt::Saturday)
            ++back;
    }
    QStringList dates;
    for (int i = 0; i < kDueDates * scale; ++i) {
        dates.append(DateText::formatLong(date));
        date = nextSchoolDay(date);
    }
    return dates;
}

int homeworkPerDate(int i)
{
    return 1 + i % 3;
}

void writeHomework(Text &text, int scale)
{
    const QStringList dates = dueDateTexts(scale);
    text.section(QStringLiteral("Dates"));
    // The index in the order the homework was entered: mostly by date, now and then one entered late.
    for (int i = 0; i < dates.size(); ++i) {
        const bool swapped = i % 10 == 8 && i + 1 < dates.size();
        text.entry(dates[swapped ? i + 1 : (i % 10 == 9 ? i - 1 : i)], QStringLiteral("1"));
    }
    for (int i = 0; i < dates.size(); ++i) {
        text.section(dates[i]);
        for (int s = 0; s < homeworkPerDate(i); ++s) {
            const QString &subject = subjects()[(i * 2 + s * 5) % subjects().size()];
            text.entry(subject, QStringLiteral("S. %1 Nr. %2 a-f, dazu die Vokabeln von Lektion %3 lernen").arg(10 + i % 240).arg(1 + s).arg(1 + i % 30));
            if ((i + s) % 3 == 0)
                text.entry(subject + u'2', (i + s) % 2 ? QStringLiteral("1") : QStringLiteral("0"));
            text.entry(subject + QStringLiteral("Exec"), s == 0 && i % 4 == 0 ? QStringLiteral("/usr/bin/libreoffice?Hausaufgaben.odt") : QString());
        }
    }
}

QDate alarmDate(int i)
{
    return FiveYearData::now().date().addDays(1 + i * 9);
}

void writeAlarms(Text &text)
{
    // Entered in no particular order; the alarm list sorts them when shown.
    // None is due today: each due alarm asks a modal question at start.
    text.section(AlarmStore::alarmSection());
    for (int k = 0; k < kAlarms; ++k) {
        const int i = (k * 37) % kAlarms;
        text.entry(DateText::formatLong(alarmDate(i)), QStringLiteral("Bibliotheksbuch Nr. %1 zurückgeben").arg(i));
    }
    text.section(AlarmStore::soundSection());
    for (int i = 0; i < kAlarms; i += 4)
        text.entry(DateText::formatLong(alarmDate(i)), QStringLiteral("DEFAULT.WAV"));
}

void writeApplications(Text &text)
{
    text.section(QStringLiteral("PROGRAMMS"));
    text.entry(QStringLiteral("/usr/bin/libreoffice"), QStringLiteral("1"));
    text.entry(QStringLiteral("/usr/bin/gimp"), QStringLiteral("1"));
    text.section(QStringLiteral("DEFAULT"));
    text.entry(QStringLiteral("Deutsch"), QStringLiteral("/usr/bin/libreoffice?Aufsatz.odt"));
    text.entry(QStringLiteral("Kunst"), QStringLiteral("/usr/bin/gimp?"));
}

// The periods of the school year 2026/27; today, 07.12.2026, lies in none.
QStringList holidayTexts()
{
    return {QStringLiteral("01.02.2027"), QStringLiteral("05.02.2027"),  // winter
            QStringLiteral("22.03.2027"), QStringLiteral("02.04.2027"),  // Easter
            QStringLiteral("18.05.2027"), QStringLiteral("28.05.2027"),  // Whitsun
            QStringLiteral("29.07.2027"), QStringLiteral("08.09.2027"),  // summer
            QStringLiteral("12.10.2026"), QStringLiteral("24.10.2026"),  // autumn
            QStringLiteral("23.12.2026"), QStringLiteral("06.01.2027")}; // Christmas
}

void writeTimetableAndHolidays(Text &text)
{
    for (int c = 1; c <= 5; ++c) {
        text.section(TimetableStore::SchoolDayNames()[c - 1]);
        for (int r = 1; r <= 10; ++r)
            text.entry(QString::number(r), lesson(c, r));
    }
    text.section(QStringLiteral("FERIEN"));
    const QStringList holidays = holidayTexts();
    for (size_t i = 0; i < HolidayStore::Periods().size(); ++i) {
        text.entry(QString::fromUtf16(HolidayStore::Periods()[i].firstKey), holidays[int(2 * i)]);
        text.entry(QString::fromUtf16(HolidayStore::Periods()[i].lastKey), holidays[int(2 * i + 1)]);
    }
}

// Five school years: per subject four class tests and six other marks a year.
GradeTree gradeTree()
{
    GradeTree tree;
    for (int s = 0; s < subjects().size(); ++s) {
        GradeNode &subject = tree.addRoot(subjects()[s], GradeNode::FileImage);
        for (int c = 0; c < GradeStore::CategoryNames().size(); ++c) {
            GradeNode &category = subject.addChild(GradeStore::CategoryNames()[c], GradeNode::FileImage,
                                                   GradeRecord{0, quint8(c == 0 ? 2 : 1)});
            const int perYear = c == 0 ? 4 : 6;
            for (int year = 0; year < 5; ++year) {
                for (int g = 0; g < perYear; ++g) {
                    const int n = s * 31 + c * 17 + year * 7 + g;
                    const QString text = c == 0 ? QStringLiteral("Klassenarbeit %1 (%2/%3)").arg(g + 1).arg(2022 + year).arg(23 + year)
                                                : QStringLiteral("Mitarbeit %1 (%2/%3)").arg(g + 1).arg(2022 + year).arg(23 + year);
                    category.addChild(text, GradeNode::GradeImage, GradeRecord{quint8(4 + n % 12), quint8(1 + n % 3)});
                }
            }
        }
    }
    return tree;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}

QDateTime FiveYearData::now()
{
    return QDateTime(QDate(2026, 12, 7), QTime(9, 0));
}

QString FiveYearData::nowText()
{
    return now().toString(Qt::ISODate);
}

FiveYearData::Counts FiveYearData::counts(int scale)
{
    Counts c;
    c.dueDates = kDueDates * scale;
    c.pastDueDates = kPastDueDates + 1; // and today's
    for (int i = 0; i < c.dueDates; ++i)
        c.homework += homeworkPerDate(i);
    c.events = (kOneTimeEvents + kWeeklyEvents + kMonthlyEvents + kYearlyEvents) * scale;
    // Yesterday's and today's one-time event, today's weekly, monthly and yearly one, the two snoozes.
    c.dueEvents = 2 + 3 + 2;
    c.alarms = kAlarms;
    c.gradeNodes = int(gradeTree().preOrder().size());
    c.topics = kResearchSubjects * kTopicsPerSubject;
    return c;
}

QByteArray FiveYearData::settingsFile(int scale)
{
    Text text;
    writeTimetableAndHolidays(text);
    writeApplications(text);
    writeHomework(text, scale);
    writeEvents(text, scale);
    writeAlarms(text);
    return text.bytes();
}

QByteArray FiveYearData::researchCatalogue()
{
    static const QStringList fields = {QStringLiteral("Mathematik"), QStringLiteral("Deutsch"), QStringLiteral("Englisch"),
                                       QStringLiteral("Französisch"), QStringLiteral("Biologie"), QStringLiteral("Physik"),
                                       QStringLiteral("Chemie"), QStringLiteral("Geschichte"), QStringLiteral("Erdkunde"),
                                       QStringLiteral("Informatik")};
    QString text = QStringLiteral("<DATA>\r\nKalmora Recherche\r\n<BITMAP>\r\nbanner.png\r\nhttp://kalmora.example/recherche/\r\n"
                                  "Kalmora Recherche - Besuchen Sie unsere Homepage...\r\n");
    for (int s = 0; s < kResearchSubjects; ++s) {
        text += QStringLiteral("<SUBJECT>\r\n%1\r\n%2\r\n").arg(fields[s]).arg(1 + s % 13);
        for (int t = 0; t < kTopicsPerSubject; ++t) {
            text += QStringLiteral("<TOPIC>\r\n%1: Thema %2\r\nhttps://lernen.example/%3/thema-%2\r\n"
                                   "Überblick über Thema %2 im Fach %1, mit Beispielen, Übungen und Lösungen.\r\n%4\r\n")
                        .arg(fields[s]).arg(t + 1).arg(s).arg(3 + t % 11);
        }
    }
    return Win1252::encode(text);
}

bool FiveYearData::write(const QString &directory, int scale, const QString &soundsFrom)
{
    if (!QDir().mkpath(directory))
        return false;
    setProgramDirectory(directory);
    for (const QString &name : fileNames())
        QFile::remove(ProgramDirectory() + name);
    if (!writeFile(ProgramDirectory() + QStringLiteral("DEZUVEDIRED.INI"), settingsFile(scale))
        || !writeFile(ProgramDirectory() + ResearchCatalogue::FileName(), researchCatalogue()))
        return false;
    try {
        GradeStore::SaveGrades(gradeTree());
    } catch (...) {
        return false;
    }
    if (!soundsFrom.isEmpty()) {
        for (const char *name : {"DEFAULT.WAV", "STANDARD.WAV", "banner.png"}) {
            const QString bare = QLatin1String(name);
            QFile::copy(QDir(soundsFrom).filePath(bare), ProgramDirectory() + bare);
        }
    }
    return true;
}

bool FiveYearData::writeRecurringRules(int count)
{
    try {
        for (int i = 0; i < count; ++i) {
            const QString &subject = subjects()[i % subjects().size()];
            RecurringHomework::addRule(subject, i < subjects().size() ? QStringLiteral("Vokabeln lernen") : QStringLiteral("Heft nachtragen"));
        }
    } catch (...) {
        return false;
    }
    return true;
}

QString FiveYearData::verify(int scale)
{
    const Counts expected = counts(scale);
    QStringList faults;
    const auto check = [&](bool ok, const QString &what) {
        if (!ok)
            faults.append(what);
    };
    const QStringList dates = HomeworkStore::sortedDueDates();
    check(dates.size() == expected.dueDates, QStringLiteral("due dates: %1").arg(dates.size()));
    int homework = 0;
    for (const QString &date : dates)
        homework += int(HomeworkStore::homeworkListTexts(DateText::parse(date)).size());
    check(homework == expected.homework, QStringLiteral("homework: %1").arg(homework));
    int events = 0;
    for (const EventSeries &series : eventSeries(scale)) {
        const QStringList names = EventStore::LoadEventNames(series.kind);
        events += int(names.size());
        const EventStore::Event event = EventStore::LoadEvent(series.kind, names.value(1));
        check(event.date == eventDate(series, 1) && event.lines == eventLines(1) && !event.timeText.isEmpty(),
              QStringLiteral("event %1").arg(names.value(1)));
    }
    check(events == expected.events, QStringLiteral("events: %1").arg(events));
    const QStringList alarms = SettingsFile::read([](const ProfileFile &ini) { return ini.keys(AlarmStore::alarmSection()); });
    check(alarms.size() == expected.alarms, QStringLiteral("alarms: %1").arg(alarms.size()));
    Clock::setNow(now());
    check(AlarmStore::dueAlarms().isEmpty(), QStringLiteral("an alarm is due today"));
    check(!HolidayStore::IsHolidayToday(), QStringLiteral("today is a holiday"));
    check(HolidayStore::LoadHolidays() == holidayTexts(), QStringLiteral("holidays"));
    TimetableGrid grid;
    TimetableStore::LoadTimetable(grid);
    int lessons = 0;
    for (int c = 1; c <= 5; ++c) {
        for (int r = 1; r <= 10; ++r)
            lessons += grid.at(c, r).isEmpty() ? 0 : 1;
    }
    check(lessons == 50, QStringLiteral("lessons: %1").arg(lessons));
    GradeTree tree;
    try {
        check(GradeStore::LoadGrades(tree) == GradeStore::Source::File, QStringLiteral("grade files missing"));
    } catch (...) {
        faults.append(QStringLiteral("grade files unreadable"));
    }
    check(int(tree.preOrder().size()) == expected.gradeNodes, QStringLiteral("grade nodes: %1").arg(tree.preOrder().size()));
    ResearchCatalogue catalogue;
    try {
        catalogue.load();
    } catch (...) {
        faults.append(QStringLiteral("catalogue unreadable"));
    }
    int topics = 0;
    for (const ResearchCatalogue::Node &node : catalogue.nodes())
        topics += node.kind == ResearchCatalogue::Node::Kind::Topic ? 1 : 0;
    check(topics == expected.topics, QStringLiteral("topics: %1").arg(topics));
    return faults.join(QStringLiteral("; "));
}

QStringList FiveYearData::fileNames()
{
    return {QStringLiteral("DEZUVEDIRED.INI"), GradeStore::TreeFileName(), GradeStore::RecordFileName(), ResearchCatalogue::FileName()};
}
