// Date and time texts: day.month.year whatever the locale.
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Errors.h"

#include <QtTest>

class tst_DateText final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formats();
    void readsDates();
    void readsTimes();
};

void tst_DateText::formats()
{
    QCOMPARE(DateText::formatLong(QDate(2026, 3, 7)), QStringLiteral("07.03.2026"));
    QCOMPARE(DateText::formatShort(QDate(2026, 3, 7)), QStringLiteral("7.3.2026"));
    QCOMPARE(DateText::formatSnoozeKey(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 0))), QStringLiteral("7.3.2026 14:5:0"));
    QCOMPARE(DateText::formatLong(QDate(927, 1, 1)), QStringLiteral("01.01.0927"));
}

void tst_DateText::readsDates()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); // month-first locale must not matter
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    QCOMPARE(DateText::parse(u"7.3.2026"), QDate(2026, 3, 7));
    QCOMPARE(DateText::parse(u"07.03.2026"), QDate(2026, 3, 7));
    QCOMPARE(DateText::parse(u" 7.3.2026 "), QDate(2026, 3, 7));
    // Without a year: this year; two digits: this century.
    QCOMPARE(DateText::parse(u"24.12"), QDate(2026, 12, 24));
    QCOMPARE(DateText::parse(u"6.1.90"), QDate(2090, 1, 6));
    QCOMPARE(DateText::parse(u"05.03.1927"), QDate(1927, 3, 5));
    for (const char16_t *bad : {u"", u"2026", u"31.4.2026", u"29.2.2027", u"0.5.2027", u"1.0.2027", u"a.b.c",
                                u"1.2.3.4", u"1..2026", u"-1.2.2026", u"7.3.2026 8:00", u"1.1.0000"}) {
        QVERIFY2(!DateText::tryParse(bad), qPrintable(QString::fromUtf16(bad)));
    }
    try {
        DateText::parse(u"kaputt");
        QFAIL("no failure");
    } catch (const EConvertError &error) {
        QCOMPARE(error.message(), QStringLiteral("'kaputt' is not a valid date"));
    }
    Clock::reset();
}

void tst_DateText::readsTimes()
{
    QCOMPARE(DateText::tryParseTime(u"6:00"), QTime(6, 0));
    QCOMPARE(DateText::tryParseTime(u"14:5:0"), QTime(14, 5));
    QCOMPARE(DateText::tryParseTime(u"23:59:59"), QTime(23, 59, 59));
    for (const char16_t *bad : {u"24:00", u"6", u"", u"6:60", u"x:00", u"1:2:3:4"})
        QVERIFY2(!DateText::tryParseTime(bad), qPrintable(QString::fromUtf16(bad)));
}

QTEST_GUILESS_MAIN(tst_DateText)
#include "tst_DateText.moc"
