// The weekly homework sheet as drawing commands.
#include "WeeklyPlan.h"

#include "model/TimetableStore.h"

namespace {
constexpr int kJobTop = 200;
constexpr int kBlockGap = 300;
constexpr int kHeadingX = 100;
constexpr int kHeadingPoints = 14;
constexpr int kRowPoints = 12;
constexpr int kFirstRule = 100;
constexpr int kRowHeight = 70;
constexpr int kSubjectX = 25;
constexpr int kSubjectDrop = 17; // the subject stands a little below its row's rule
constexpr int kColumnX = 300;
}

QList<QStringList> WeeklyPlan::PrintJobs()
{
    const QStringList &days = TimetableStore::SchoolDayNames();
    return {days.mid(0, 3), days.mid(3, 2)};
}

QDate WeeklyPlan::PlanMonday(QDate today)
{
    const QDate monday = today.addDays(Qt::Monday - today.dayOfWeek());
    return today.dayOfWeek() >= Qt::Saturday ? monday.addDays(7) : monday;
}

QStringList WeeklyPlan::CollectDayLessons(const QString &dayName, Week week)
{
    QStringList lessons = TimetableStore::readSchoolDay(dayName, week);
    lessons.removeAll(QString());
    return lessons;
}

void WeeklyPlan::PrintDayBlock(int &y, const QString &dayName, const QStringList &lessons, int printableWidth,
                               QList<PrintCommand> &commands)
{
    const int n = int(lessons.size());
    commands.append(PrintCommand::fontSize(kHeadingPoints));
    commands.append(PrintCommand::textOut(kHeadingX, y, dayName));
    commands.append(PrintCommand::fontSize(kRowPoints));
    for (int i = 0; i < n; ++i) {
        const int rule = y + kFirstRule + kRowHeight * i;
        commands.append(PrintCommand::line(0, rule, printableWidth, rule));
        commands.append(PrintCommand::textOut(kSubjectX, rule + kSubjectDrop, lessons[i]));
    }
    const int bottom = y + kFirstRule + kRowHeight * n;
    commands.append(PrintCommand::line(0, bottom, printableWidth, bottom));
    if (n > 0) // a day without lessons has no rows to divide
        commands.append(PrintCommand::line(kColumnX, y + kFirstRule, kColumnX, bottom));
    y += blockHeight(n);
}

QList<PrintCommand> WeeklyPlan::LayoutJob(const QStringList &days, QSize printableArea, Week week)
{
    QList<PrintCommand> commands;
    int y = kJobTop;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QStringList lessons = CollectDayLessons(days[i], week);
        if (i > 0) {
            y += kBlockGap;
            if (y + blockHeight(lessons.size()) > printableArea.height()) {
                commands.append(PrintCommand::newPage());
                y = kJobTop;
            }
        }
        PrintDayBlock(y, days[i], lessons, printableArea.width(), commands);
    }
    return commands;
}

int WeeklyPlan::blockHeight(qsizetype rows)
{
    return kFirstRule + kRowHeight * int(rows);
}
