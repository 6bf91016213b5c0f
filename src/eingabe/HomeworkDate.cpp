// The due date of new homework.
#include "HomeworkDate.h"

#include "model/TimetableStore.h"
#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Errors.h"

namespace {

int toInteger(const QString &part)
{
    bool ok = false;
    const int number = part.toInt(&ok);
    if (!ok)
        throw EConvertError::invalidInteger(part);
    return number;
}

// The number of days of the month plus one; February counts 28 days in every year.
// The months after July alternate the other way round; other numbers follow
// the same pattern and are refused by the month check anyway.
int dayLimit(int month)
{
    if (month == 2)
        return 29;
    const bool odd = month % 2 != 0;
    return (month <= 7) == odd ? 32 : 31;
}

// Whether the text is a date exactly as the homework sections are named, so
// that every stored due date reads back.
bool readsBack(const QString &text)
{
    const auto date = DateText::tryParse(text);
    return date && DateText::formatLong(*date) == text;
}

}

QDate HomeworkDate::NextLessonDate(const QString &subject)
{
    const QDate today = Clock::today();
    const QDate firstSchoolDay = today.addDays(today.dayOfWeek() >= 5 ? 8 - today.dayOfWeek() : 1);
    return SettingsFile::read([&](const ProfileFile &ini) { return TimetableStore::NextLesson(ini, subject, today); })
        .value_or(firstSchoolDay);
}

HomeworkDate::Checked HomeworkDate::checkDueDate(const QString &text)
{
    QString rest = text;
    const auto takePart = [&rest] {
        const qsizetype stop = rest.indexOf(u'.');
        if (stop < 0)
            return QStringLiteral("50");
        const QString part = rest.left(stop);
        rest.remove(0, stop + 1);
        return part;
    };
    QString day = takePart();
    QString month = takePart();
    QString year = rest;

    const int dayNumber = toInteger(day);
    const int monthNumber = toInteger(month);
    int limit = dayLimit(monthNumber);
    if (year.size() == 2)
        year.prepend(QStringLiteral("19"));
    if (year.size() != 4)
        limit = -1;
    if (day.size() == 1)
        day.prepend(u'0');
    if (month.size() == 1)
        month.prepend(u'0');
    if (day.size() != 2 || month.size() != 2)
        limit = -1;

    Checked checked{day + u'.' + month + u'.' + year, false};
    checked.accepted = dayNumber < limit && monthNumber <= 12 && readsBack(checked.text);
    return checked;
}
