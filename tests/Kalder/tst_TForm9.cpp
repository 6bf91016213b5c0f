// The month calendar picker: presets from a field's text, the month buttons, closing.
#include "Kalder/TForm9.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/TCalendar.h"

#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {
const QPoint kBelowField(120, 200);

TCalendar &grid()
{
    return *TForm9::instance().findChild<TCalendar *>(QStringLiteral("Calendar1"));
}

QString monthButtonText()
{
    return TForm9::instance().findChild<QToolButton *>(QStringLiteral("SpeedButton2"))->text();
}

void click(const char *button)
{
    TForm9::instance().findChild<QToolButton *>(QString::fromLatin1(button))->click();
}

// Opens the picker on a text; `inside` runs while it is shown.
QString pick(const QString &text, const std::function<void()> &inside = [] {})
{
    TForm9::setModalAnswer([&](TForm9 &) { inside(); });
    return PickDate(kBelowField, text);
}
}

class tst_TForm9 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { Clock::setNow(QDateTime(QDate(2027, 3, 10), QTime(9, 0))); }
    void cleanup() { TForm9::setModalAnswer({}); }
    void presetsFromTheFieldText();
    void monthButtons();
    void aPartThatIsNoNumber();
    void doubleClickEndsTheModalWait();
};

void tst_TForm9::presetsFromTheFieldText()
{
    // An empty field: today's month with today selected, at the given place;
    // a double-click on the 5th picks it (the 5th of March 2027 is a Friday).
    const QString picked = pick(QString(), [] {
        QCOMPARE(grid().date(), QDate(2027, 3, 10));
        QCOMPARE(monthButtonText(), QStringLiteral("März"));
        QCOMPARE(TForm9::instance().pos(), kBelowField);
        QTest::mouseDClick(&grid(), Qt::LeftButton, {}, grid().cellRect(5, 1).center());
    });
    QCOMPARE(picked, QStringLiteral("5.3.2027"));
    // A full date opens on its day and comes back without leading zeros.
    pick(QStringLiteral("24.12.2026"), [] { QCOMPARE(monthButtonText(), QStringLiteral("Dezember")); });
    QCOMPARE(pick(QStringLiteral("06.01.2027")), QStringLiteral("6.1.2027"));
    // A year alone keeps the day and month the picker held last.
    pick(QStringLiteral("24.12.2026"));
    QCOMPARE(pick(QStringLiteral("2027")), QStringLiteral("24.12.2027"));
    // A day the held month lacks is ignored; month and year still apply.
    pick(QStringLiteral("15.2.2027"));
    QCOMPARE(pick(QStringLiteral("30.3.2027")), QStringLiteral("15.3.2027"));
    // Without a year the picker shows today instead.
    QCOMPARE(pick(QStringLiteral("24.12.")), QStringLiteral("10.3.2027"));
}

void tst_TForm9::monthButtons()
{
    const QString picked = pick(QStringLiteral("31.1.2027"), [] {
        // From January back to December of the year before, and forward again.
        click("SpeedButton1");
        QCOMPARE(grid().date(), QDate(2026, 12, 31));
        QCOMPARE(monthButtonText(), QStringLiteral("Dezember"));
        click("SpeedButton3");
        QCOMPARE(monthButtonText(), QStringLiteral("Januar"));
        // A day the next month lacks becomes its last day.
        click("SpeedButton3");
        QCOMPARE(grid().date(), QDate(2027, 2, 28));
        // The month button jumps to today.
        click("SpeedButton2");
        QCOMPARE(monthButtonText(), QStringLiteral("März"));
        click("SpeedButton3");
    });
    // However the picker closes, the field gets the date it holds.
    QCOMPARE(picked, QStringLiteral("10.4.2027"));
}

void tst_TForm9::aPartThatIsNoNumber()
{
    pick(QStringLiteral("15.6.2026"));
    for (const auto &[text, part] : {std::pair{"x.1.2027", "x"}, {"1.1a.2027", "1a"}, {"1.1.20z7", "20z7"}}) {
        bool opened = false;
        try {
            pick(QString::fromLatin1(text), [&] { opened = true; });
            QFAIL(text);
        } catch (const EConvertError &error) {
            QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(part)));
        }
        // The picker did not open and nothing of the text was applied.
        QVERIFY(!opened);
        QCOMPARE(grid().date(), QDate(2026, 6, 15));
    }
}

void tst_TForm9::doubleClickEndsTheModalWait()
{
    pick(QStringLiteral("15.6.2026"));
    TForm9::setModalAnswer({});
    QTimer::singleShot(0, this, [] {
        QVERIFY(TForm9::instance().isModal());
        QTest::mouseDClick(&grid(), Qt::LeftButton, {}, grid().cellRect(6, 3).center()); // the 20th
    });
    QCOMPARE(PickDate(kBelowField, QStringLiteral("1.6.2026")), QStringLiteral("20.6.2026"));
    QVERIFY(!TForm9::instance().isVisible());
}

QTEST_MAIN(tst_TForm9)
#include "tst_TForm9.moc"
