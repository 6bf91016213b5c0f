// The homework entry dialog, driven through its controls: proposed dates, the date check, storing.
#include "eingabe/TForm2.h"
#include "model/HomeworkStore.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "platform/TCalendar.h"
#include "recurring/RecurringHomework.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace {
const QDateTime kWednesday(QDate(2026, 12, 9), QTime(9, 0));

template <typename T>
T *control(const TForm2 &form, const char *name)
{
    return form.findChild<T *>(QString::fromLatin1(name));
}

QString dueDateText(const TForm2 &form)
{
    return control<QLineEdit>(form, "Edit1")->text();
}

// Types a due date and a text and presses "&OK".
void enter(TForm2 &form, const QString &dueDate, const QString &text = QStringLiteral("x"))
{
    control<QLineEdit>(form, "Edit1")->setText(dueDate);
    control<QLineEdit>(form, "Edit2")->setText(text);
    control<QPushButton>(form, "Button1")->click();
}
}

class tst_TForm2 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void proposesTheNextLesson();
    void storesAcceptedDates();
    void refusesWrongDates();
    void calendarPart();
    void monthHeading();
    void visibleDialogIsOnlyUpdated();
    void repeatsWithEveryLesson();
};

void tst_TForm2::proposesTheNextLesson()
{
    TestEnvironment env;
    const QString mondayAndWednesday = QStringLiteral("[Montag]\n3=Mathematik\n[Mittwoch]\n1=Mathematik\n");
    const struct
    {
        QDate today;
        QString timetable;
        const char *subject;
        QDate proposed;
    } cases[] = {
        // A Wednesday with lessons on Monday and Wednesday: next Monday.
        {QDate(2026, 12, 9), mondayAndWednesday, "Mathematik", QDate(2026, 12, 14)},
        // Taught only on today's weekday: the same weekday a week later.
        {QDate(2026, 12, 9), QStringLiteral("[Mittwoch]\n10=Mathematik\n"), "Mathematik", QDate(2026, 12, 16)},
        // On a Saturday the search starts with Monday.
        {QDate(2026, 12, 12), mondayAndWednesday, "Mathematik", QDate(2026, 12, 14)},
        // A subject in no section (letter case counts) ends at the first school day after today.
        {QDate(2026, 12, 9), mondayAndWednesday, "mathematik", QDate(2026, 12, 10)},
        {QDate(2026, 12, 11), QString(), "Physik", QDate(2026, 12, 14)},
        // With A/B weeks, Monday 14.12. lies in a B week without Physik.
        {QDate(2026, 12, 9), QStringLiteral("[WOCHEN]\nAB=1\nBezug=9.12.2026\n[Montag]\n1=Physik\n[Montag B]\n1=Chemie\n"),
         "Physik", QDate(2026, 12, 21)},
    };
    for (const auto &c : cases) {
        Clock::setNow(QDateTime(c.today, QTime(9, 0)));
        env.writeSettings(c.timetable);
        TForm2 form;
        form.openForSubject(QString::fromLatin1(c.subject));
        const QString expected = c.proposed.toString(QStringLiteral("dd.MM.yyyy"));
        QVERIFY(form.isVisible());
        QCOMPARE(form.windowTitle(), QString::fromLatin1(c.subject));
        QCOMPARE(dueDateText(form), expected);
        QCOMPARE(control<QLabel>(form, "Label5")->text(), expected);
        QCOMPARE(control<TCalendar>(form, "Calendar1")->date(), c.proposed);
    }
    // An empty subject (an empty grid cell) shows nothing.
    TForm2 form;
    form.openForSubject(QString());
    QVERIFY(!form.isVisible());
}

void tst_TForm2::storesAcceptedDates()
{
    TestEnvironment env(kWednesday);
    TForm2 form;
    QSignalSpy stored(&form, &TForm2::homeworkStored);
    form.openForSubject(QStringLiteral("Mathematik"));
    enter(form, QStringLiteral("31.12.2027"), QStringLiteral("S. 12"));
    QVERIFY(!form.isVisible());
    QCOMPARE(stored.count(), 1);
    QVERIFY(Prompt::takeAsked().isEmpty());
    // Homework for the same subject and date replaces the text.
    form.openForSubject(QStringLiteral("Mathematik"));
    enter(form, QStringLiteral("31.12.2027"), QStringLiteral("S. 14"));
    QCOMPARE(HomeworkStore::homeworkListTexts(QDate(2027, 12, 31)), QStringList{"Mathematik"});
    QCOMPARE(HomeworkStore::readText(QStringLiteral("31.12.2027"), QStringLiteral("Mathematik")), QStringLiteral("S. 14"));
    // 5.3.27 is stored as 05.03.1927, and pruned again before the main window refreshes.
    QStringList datesWhenSignalled;
    connect(&form, &TForm2::homeworkStored, this, [&] { datesWhenSignalled = HomeworkStore::dueDates(); });
    form.openForSubject(QStringLiteral("Mathematik"));
    enter(form, QStringLiteral("5.3.27"));
    QCOMPARE(dueDateText(form), QStringLiteral("05.03.1927"));
    QCOMPARE(datesWhenSignalled, QStringList{"31.12.2027"});
    QVERIFY(!env.settingsText().contains(QStringLiteral("1927")));
    QCOMPARE(stored.count(), 3);
}

void tst_TForm2::refusesWrongDates()
{
    TestEnvironment env(kWednesday);
    const struct
    {
        const char *typed;
        const char *shown; // the normalised text left in the field
    } refused[] = {
        {"31.04.2027", "31.04.2027"},
        {"29.02.2028", "29.02.2028"},   // February has 28 days, also in leap years
        {"31122027", "50.50.31122027"}, // no full stops: day and month count as 50
        {"123.1.2027", "123.01.2027"},
        // Dates that would not read back: day or month 0, a year that is no number.
        {"0.05.2027", "00.05.2027"},
        {"1.0.2027", "01.00.2027"},
        {"01.05.abcd", "01.05.abcd"},
    };
    TForm2 form;
    QSignalSpy stored(&form, &TForm2::homeworkStored);
    form.openForSubject(QStringLiteral("Mathematik"));
    for (const auto &c : refused) {
        // A past date in the index shows that the pruning runs after a refusal as well.
        env.writeSettings(QStringLiteral("[Dates]\n01.12.2026=1\n"));
        enter(form, QString::fromLatin1(c.typed));
        const QList<Prompt::Question> asked = Prompt::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Achtung!"));
        QCOMPARE(asked[0].text, QStringLiteral("Die Daten werden nicht gesichert, da das von Ihnen angegebene Datum "
                                               "falsch definiert wurde!\nRichtig angegeben sieht es so aus: TT.MM.YYYY"));
        QCOMPARE(asked[0].icon, QMessageBox::Warning);
        QCOMPARE(asked[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(dueDateText(form), QString::fromLatin1(c.shown));
        QVERIFY(form.isVisible());
        QCOMPARE(env.settingsText(), QString());
    }
    // A day or month that is no number stops the check: text kept, nothing stored or pruned.
    env.writeSettings(QStringLiteral("[Dates]\n01.12.2026=1\n"));
    for (const auto &[typed, part] : {std::pair{"x.05.2027", "x"}, {"05.x.2027", "x"}}) {
        enter(form, QString::fromLatin1(typed));
        const QList<Prompt::Question> asked = Prompt::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(part)));
        QCOMPARE(dueDateText(form), QString::fromLatin1(typed));
        QVERIFY(form.isVisible());
        QCOMPARE(env.settingsText(), QStringLiteral("[Dates]\n01.12.2026=1\n"));
    }
    QCOMPARE(stored.count(), 0);
}

void tst_TForm2::calendarPart()
{
    TestEnvironment env(kWednesday);
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n"));
    TForm2 form;
    form.openForSubject(QStringLiteral("Mathematik"));
    auto *toggle = control<QToolButton>(form, "SpeedButton3");
    auto *calendar = control<TCalendar>(form, "Calendar1");
    QCOMPARE(form.height(), 143);
    toggle->click();
    QCOMPARE(form.height(), 306);
    QVERIFY(calendar->isVisible());
    // A day click and the month steps show the calendar's date in the field and in large type.
    QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->cellRect(4, 5).center()); // the 31st
    QCOMPARE(dueDateText(form), QStringLiteral("31.12.2026"));
    control<QToolButton>(form, "Image3")->click();
    control<QToolButton>(form, "Image3")->click();
    QCOMPARE(dueDateText(form), QStringLiteral("28.02.2027"));
    control<QToolButton>(form, "Image2")->click();
    QCOMPARE(control<QLabel>(form, "Label5")->text(), QStringLiteral("28.01.2027"));
    // Toggled back, and hidden again at every opening.
    toggle->click();
    QCOMPARE(form.height(), 143);
    toggle->click();
    form.openForSubject(QStringLiteral("Mathematik"));
    QCOMPARE(form.height(), 143);
    QVERIFY(!calendar->isVisible());
}

void tst_TForm2::monthHeading()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 30), QTime(9, 0))); // a Wednesday
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n[Dienstag]\n1=Physik\n"));
    TForm2 form;
    auto *heading = control<QLabel>(form, "MonthHeading");
    QVERIFY(heading);
    auto *calendar = control<TCalendar>(form, "Calendar1");
    // Before any opening the grid holds today, and the heading says so.
    QCOMPARE(heading->text(), QStringLiteral("Dezember - 2026"));
    // Opening on the next lesson, which lies in the next year.
    form.openForSubject(QStringLiteral("Mathematik"));
    QCOMPARE(heading->text(), QStringLiteral("Januar - 2027"));
    control<QToolButton>(form, "SpeedButton3")->click();
    QVERIFY(heading->isVisible());
    const QRect headingRect(heading->mapTo(&form, QPoint()), heading->size());
    const QRect gridRect(calendar->mapTo(&form, QPoint()), calendar->size());
    QVERIFY(headingRect.bottom() < gridRect.top());
    QVERIFY(gridRect.bottom() < form.height());
    // The month steps, across the year boundary both ways.
    control<QToolButton>(form, "Image2")->click();
    QCOMPARE(heading->text(), QStringLiteral("Dezember - 2026"));
    for (int step = 0; step < 3; ++step)
        control<QToolButton>(form, "Image3")->click();
    QCOMPARE(heading->text(), QStringLiteral("März - 2027"));
    // A day click keeps the month.
    QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->cellRect(3, 2).center());
    QCOMPARE(dueDateText(form), QStringLiteral("10.03.2027"));
    QCOMPARE(heading->text(), QStringLiteral("März - 2027"));
    // Another subject while the dialog is shown moves the grid and the heading back.
    form.openForSubject(QStringLiteral("Physik"));
    QCOMPARE(dueDateText(form), QStringLiteral("05.01.2027"));
    QCOMPARE(heading->text(), QStringLiteral("Januar - 2027"));
}

void tst_TForm2::visibleDialogIsOnlyUpdated()
{
    TestEnvironment env(kWednesday);
    env.writeSettings(QStringLiteral("[Dienstag]\n1=Physik\n"));
    TForm2 form;
    auto *text = control<QLineEdit>(form, "Edit2");
    form.openForSubject(QStringLiteral("Mathematik"));
    QTest::keyClicks(text, QStringLiteral("Seite 3"));
    // Another subject while the dialog is shown: caption and date change, the text stays.
    form.openForSubject(QStringLiteral("Physik"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Physik"));
    QCOMPARE(dueDateText(form), QStringLiteral("15.12.2026"));
    QCOMPARE(text->text(), QStringLiteral("Seite 3"));
    // "&Abbrechen" hides it without storing; the next opening empties the text.
    control<QPushButton>(form, "Button2")->click();
    QVERIFY(!form.isVisible());
    QVERIFY(HomeworkStore::dueDates().isEmpty());
    form.openForSubject(QStringLiteral("Physik"));
    QVERIFY(text->text().isEmpty());
}

void tst_TForm2::repeatsWithEveryLesson()
{
    TestEnvironment env(kWednesday);
    env.writeSettings(QStringLiteral("[Montag]\n3=Mathematik\n[Mittwoch]\n1=Mathematik\n[Donnerstag]\n2=Physik\n"
                                     "[FERIEN]\nWEIHNACHTEN1=21.12.2026\nWEIHNACHTEN2=6.1.2027\n"));
    TForm2 form;
    auto *repeat = control<QCheckBox>(form, "RepeatCheck");
    QVERIFY(repeat);
    QCOMPARE(repeat->text(), QStringLiteral("jede Stunde &wiederholen"));
    QVERIFY(!repeat->toolTip().isEmpty());
    form.openForSubject(QStringLiteral("Mathematik"));
    QVERIFY(!repeat->isChecked());
    // Shown whole inside the upper part, beside the buttons.
    QVERIFY(repeat->isVisible() && form.rect().contains(repeat->geometry()) && repeat->geometry().bottom() < 143);
    QVERIFY(repeat->width() >= repeat->sizeHint().width());

    // A refused date stores no rule.
    repeat->setChecked(true);
    enter(form, QStringLiteral("31.04.2027"), QStringLiteral("Vokabeln"));
    QCOMPARE(Prompt::takeAsked().size(), 1);
    QVERIFY(RecurringHomework::rules().isEmpty());

    // Checked at "&OK": the rule is stored, and the homework for the next
    // lesson, Monday 14.12., is entered at once.
    enter(form, QStringLiteral("10.12.2026"), QStringLiteral("Vokabeln"));
    QVERIFY(!form.isVisible());
    QCOMPARE(RecurringHomework::rules().size(), 1);
    QCOMPARE(HomeworkStore::readText(QStringLiteral("10.12.2026"), QStringLiteral("Mathematik")), QStringLiteral("Vokabeln"));
    QCOMPARE(HomeworkStore::readText(QStringLiteral("14.12.2026"), QStringLiteral("Mathematik")), QStringLiteral("Vokabeln"));

    // The box is unchecked at the next opening; homework without it makes no rule.
    // The "&OK" on Wednesday 16.12. enters the rule's homework after the
    // Christmas holidays, on Monday 11.01.2027.
    Clock::setNow(QDateTime(QDate(2026, 12, 16), QTime(9, 0)));
    form.openForSubject(QStringLiteral("Physik"));
    QVERIFY(!repeat->isChecked());
    enter(form, QStringLiteral("17.12.2026"), QStringLiteral("Versuch"));
    QCOMPARE(RecurringHomework::rules().size(), 1);
    QCOMPARE(HomeworkStore::sortedDueDates(), QStringList({QStringLiteral("17.12.2026"), QStringLiteral("11.01.2027")}));
    QCOMPARE(HomeworkStore::readText(QStringLiteral("11.01.2027"), QStringLiteral("Mathematik")), QStringLiteral("Vokabeln"));
}

QTEST_MAIN(tst_TForm2)
#include "tst_TForm2.moc"
