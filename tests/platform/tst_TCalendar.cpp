// The month grid: its setter rules, month steps, layout and clicks.
#include "platform/TCalendar.h"

#include <QSignalSpy>
#include <QtTest>

class tst_TCalendar final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void settersChangeOneElement();
    void monthStepsKeepAValidDate();
    void layoutOfTheMonth();
    void clicksOnCells();
};

void tst_TCalendar::settersChangeOneElement()
{
    TCalendar calendar;
    calendar.setDate(QDate(2027, 1, 30));
    QSignalSpy changes(&calendar, &TCalendar::changed);
    // Values below 1, a month above 12, a day beyond the month and equal values change nothing.
    calendar.setYear(0);
    calendar.setMonth(-3);
    calendar.setDay(0);
    calendar.setMonth(13);
    calendar.setDay(32);
    calendar.setYear(2027);
    calendar.setMonth(1);
    calendar.setDay(30);
    QCOMPARE(calendar.date(), QDate(2027, 1, 30));
    QCOMPARE(changes.count(), 0);
    // Otherwise only the element set changes; the day is checked against the month held then.
    calendar.setDay(31);
    calendar.setYear(2030);
    calendar.setMonth(3);
    QCOMPARE(calendar.date(), QDate(2030, 3, 31));
    QCOMPARE(changes.count(), 3);
    calendar.setMonth(4);
    calendar.setDay(31);
    QCOMPARE(calendar.date(), QDate(2030, 4, 30));
    // A year without the held 29 February keeps a valid date.
    calendar.setDate(QDate(2028, 2, 29));
    calendar.setYear(2029);
    QCOMPARE(calendar.date(), QDate(2029, 2, 28));
}

void tst_TCalendar::monthStepsKeepAValidDate()
{
    TCalendar calendar;
    const struct
    {
        QDate from;
        bool forward;
        QDate to;
    } steps[] = {
        {QDate(2027, 1, 15), false, QDate(2026, 12, 15)}, // across the year backwards
        {QDate(2026, 12, 31), true, QDate(2027, 1, 31)},  // and forwards
        {QDate(2027, 1, 31), true, QDate(2027, 2, 28)},   // a day February lacks: its last day
        {QDate(2028, 1, 31), true, QDate(2028, 2, 29)},
        {QDate(2027, 3, 31), false, QDate(2027, 2, 28)},
    };
    for (const auto &step : steps) {
        calendar.setDate(step.from);
        QSignalSpy changes(&calendar, &TCalendar::changed);
        step.forward ? calendar.nextMonth() : calendar.previousMonth();
        QCOMPARE(calendar.date(), step.to);
        QCOMPARE(changes.count(), 1);
    }
}

void tst_TCalendar::layoutOfTheMonth()
{
    TCalendar calendar;
    // December 2026 begins on a Tuesday: Sunday first, day 1 stands in column 2.
    calendar.setDate(QDate(2026, 12, 24));
    QCOMPARE(calendar.cellText(0, 0), QStringLiteral("So"));
    QCOMPARE(calendar.cellText(6, 0), QStringLiteral("Sa"));
    QCOMPARE(calendar.cellText(1, 1), QString());
    QCOMPARE(calendar.cellText(2, 1), QStringLiteral("1"));
    QCOMPARE(calendar.cellText(0, 2), QStringLiteral("6"));
    QCOMPARE(calendar.selectedCell(), QPoint(4, 4));
    QCOMPARE(calendar.cellText(5, 5), QString());
    // Monday first, as on the events tab: everything moves one column left.
    calendar.setMondayFirst(true);
    QCOMPARE(calendar.cellText(0, 0), QStringLiteral("Mo"));
    QCOMPARE(calendar.cellText(6, 0), QStringLiteral("So"));
    QCOMPARE(calendar.cellText(1, 1), QStringLiteral("1"));
    QCOMPARE(calendar.selectedCell(), QPoint(3, 4));
    // May 2026 begins on a Friday and needs the sixth row for its Sunday the 31st.
    calendar.setMondayFirst(false);
    calendar.setDate(QDate(2026, 5, 1));
    QCOMPARE(calendar.cellText(0, 6), QStringLiteral("31"));
}

void tst_TCalendar::clicksOnCells()
{
    TCalendar calendar;
    calendar.resize(210, 140);
    calendar.setDate(QDate(2026, 12, 24));
    QSignalSpy changes(&calendar, &TCalendar::changed);
    QSignalSpy doubleClicks(&calendar, &TCalendar::doubleClicked);
    // A click on a day number selects that day.
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.cellRect(3, 2).center());
    QCOMPARE(calendar.date(), QDate(2026, 12, 9));
    // The header row, empty cells and the right button change nothing.
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.cellRect(3, 0).center());
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.cellRect(0, 1).center());
    QTest::mouseClick(&calendar, Qt::RightButton, {}, calendar.cellRect(5, 4).center());
    QCOMPARE(changes.count(), 1);
    // A double-click selects its day and is signalled, also on the header.
    QTest::mouseDClick(&calendar, Qt::LeftButton, {}, calendar.cellRect(5, 4).center());
    QTest::mouseDClick(&calendar, Qt::LeftButton, {}, calendar.cellRect(5, 0).center());
    QCOMPARE(calendar.date(), QDate(2026, 12, 25));
    QCOMPARE(doubleClicks.count(), 2);
    // The cells fill the widget to its last pixel.
    QCOMPARE(calendar.cellRect(6, 6).bottomRight(), QPoint(209, 139));
}

QTEST_MAIN(tst_TCalendar)
#include "tst_TCalendar.moc"
