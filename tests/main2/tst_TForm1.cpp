// The main window driven through its controls: day panels, homework actions, timetable grid, toolbar.
#include "main2/HelpWindow.h"
#include "main2/TForm1.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {
template <typename T>
T *control(const QObject &form, const QString &name)
{
    auto *found = form.findChild<T *>(name);
    if (!found)
        qFatal("the main window has no control %s", qPrintable(name));
    return found;
}

QListWidget *list(const TForm1 &form, int number)
{
    return control<QListWidget>(form, QStringLiteral("ListBox%1").arg(number));
}

QString panelTitle(const TForm1 &form, int number)
{
    return control<QGroupBox>(form, QStringLiteral("GroupBox%1").arg(number))->title();
}

QString panelHeading(const TForm1 &form, int number)
{
    return control<QLabel>(form, QStringLiteral("Label%1").arg(number + 7))->text();
}

QStringList texts(const QListWidget *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->item(i)->text();
    return all;
}

bool hasOpaquePixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128)
                return true;
        }
    }
    return false;
}

void clickItem(QListWidget *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void clickButton(const TForm1 &form, const QString &name)
{
    QTest::mouseClick(control<QAbstractButton>(form, name), Qt::LeftButton);
}

void clickCell(QTableWidget *grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, column)).center());
}

// "Dates" in the given order and one section per date with homework in "Mathematik",
// followed by the further entries given for that date.
QString homeworkDates(const QStringList &dates, const QHash<QString, QString> &more = {})
{
    QString text = QStringLiteral("[Dates]\n");
    for (const QString &date : dates)
        text += date + QStringLiteral("=1\n");
    for (const QString &date : dates)
        text += u'[' + date + QStringLiteral("]\nMathematik=Aufgabe ") + date + u'\n' + more.value(date);
    return text;
}

std::unique_ptr<TForm1> openWindow(const TestEnvironment &env, const QString &settings)
{
    env.writeSettings(settings);
    auto form = std::make_unique<TForm1>();
    form->FormCreate();
    return form;
}

const QStringList kNineDates = {"08.12.2026", "09.12.2026", "10.12.2026", "11.12.2026", "14.12.2026",
                                "15.12.2026", "16.12.2026", "17.12.2026", "18.12.2026"};
}

class tst_TForm1 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dayPanels();
    void furtherDatesWidthRule();
    void doneMarkToggles();
    void deleteMovesDatesUp();
    void furtherDateShownInLastPanel();
    void savingJoinsTheLines();
    void sundayStartAndStepping();
    void timetableFollowsTheWeek();
    void gridOpensEntryDialog();
    void toolbar();
    void unreadableDueDate();
    void firstRunHintShowsItsWholeText();
};

void tst_TForm1::dayPanels()
{
    {
        // Five dates: panel 4 and the top of ListBox5 show the fourth; ListBox5 holds two.
        TestEnvironment env;
        auto form = openWindow(env, homeworkDates(kNineDates.mid(0, 5)));
        QCOMPARE(panelTitle(*form, 1), QStringLiteral(" Hausaufgaben für 08.12.2026"));
        QCOMPARE(panelHeading(*form, 1), QStringLiteral("Hausaufgaben für 08.12.2026"));
        QCOMPARE(panelTitle(*form, 4), QStringLiteral(" Hausaufgaben für 11.12.2026"));
        QCOMPARE(texts(list(*form, 5)), QStringList({"11.12.2026", "14.12.2026"}));
        QCOMPARE(texts(list(*form, 2)), QStringList({"Mathematik"}));
    }
    {
        // Exactly four dates: ListBox5 stays empty.
        TestEnvironment env;
        auto form = openWindow(env, homeworkDates(kNineDates.mid(0, 4)));
        QCOMPARE(panelTitle(*form, 4), QStringLiteral(" Hausaufgaben für 11.12.2026"));
        QCOMPARE(list(*form, 5)->count(), 0);
    }
    {
        // No dates at all; homework due today is pruned before the panels are filled.
        TestEnvironment env;
        auto form = openWindow(env, homeworkDates({"07.12.2026"}));
        for (int panel = 1; panel <= 4; ++panel) {
            QCOMPARE(panelTitle(*form, panel), QStringLiteral("Keine weiteren Hausaufgaben"));
            QCOMPARE(panelHeading(*form, panel), QStringLiteral("Keine Hausaufgaben"));
            QCOMPARE(list(*form, panel)->count(), 0);
        }
        QVERIFY(!env.settingsText().contains(QStringLiteral("07.12.2026")));
    }
    {
        // Unsorted dates fill the panels in date order; done homework carries its mark.
        TestEnvironment env;
        auto form = openWindow(env, homeworkDates({"15.12.2026", "08.12.2026", "04.01.2027"},
                                                  {{"08.12.2026", "Deutsch=Gedicht\nDeutsch2=1\nDeutschExec=\n"}}));
        QCOMPARE(panelHeading(*form, 1), QStringLiteral("Hausaufgaben für 08.12.2026"));
        QCOMPARE(panelHeading(*form, 2), QStringLiteral("Hausaufgaben für 15.12.2026"));
        QCOMPARE(panelHeading(*form, 3), QStringLiteral("Hausaufgaben für 04.01.2027"));
        QCOMPARE(panelHeading(*form, 4), QStringLiteral("Keine Hausaufgaben"));
        QCOMPARE(texts(list(*form, 1)), QStringList({"Mathematik", "Deutsch        E"}));
    }
}

void tst_TForm1::furtherDatesWidthRule()
{
    {
        // Five further dates fit beside no scroll bar: the list stays 65 pixels wide.
        TestEnvironment env;
        auto form = openWindow(env, homeworkDates(kNineDates.mid(0, 8)));
        QCOMPARE(list(*form, 5)->count(), 5);
        QCOMPARE(list(*form, 5)->width(), 65);
    }
    // Six further dates widen it to 81 pixels, and it stays wide when dates go away.
    TestEnvironment env;
    auto form = openWindow(env, homeworkDates(kNineDates));
    QCOMPARE(list(*form, 5)->count(), 6);
    QCOMPARE(list(*form, 5)->width(), 81);
    const QSize windowSize = form->size();
    clickItem(list(*form, 1), 0);
    clickButton(*form, QStringLiteral("SpeedButton11"));
    form->WidenListBox5();
    QCOMPARE(list(*form, 5)->count(), 5);
    QCOMPARE(list(*form, 5)->width(), 81);
    QCOMPARE(form->size(), windowSize);
}

void tst_TForm1::doneMarkToggles()
{
    TestEnvironment env;
    auto form = openWindow(env, homeworkDates({"08.12.2026"}, {{"08.12.2026", "Deutsch=Gedicht\n"}}));
    QListWidget *first = list(*form, 1);

    // Without a selection "Erledigt" does nothing.
    clickButton(*form, QStringLiteral("SpeedButton1"));
    QCOMPARE(texts(first), QStringList({"Mathematik", "Deutsch"}));
    QVERIFY(!env.settingsText().contains(QStringLiteral("Deutsch2")));

    // Marked done: the text changes in place and "1" is stored.
    clickItem(first, 1);
    clickButton(*form, QStringLiteral("SpeedButton1"));
    QCOMPARE(texts(first), QStringList({"Mathematik", "Deutsch        E"}));
    QVERIFY(env.settingsText().contains(QStringLiteral("Deutsch2=1\n")));

    // Selected again and pressed once more: the first text is back and "0" stays stored.
    clickItem(first, 0);
    clickItem(first, 1);
    QCOMPARE(control<QLabel>(*form, QStringLiteral("Label2"))->text(), QStringLiteral("Deutsch für den 08.12.2026 :"));
    clickButton(*form, QStringLiteral("SpeedButton1"));
    QCOMPARE(texts(first), QStringList({"Mathematik", "Deutsch"}));
    QVERIFY(env.settingsText().contains(QStringLiteral("Deutsch2=0\n")));
}

void tst_TForm1::deleteMovesDatesUp()
{
    TestEnvironment env;
    auto form = openWindow(env, homeworkDates({"08.12.2026", "09.12.2026", "10.12.2026"},
                                              {{"09.12.2026", "Physik=Versuch\n"}}));
    clickItem(list(*form, 1), 0);
    QVERIFY(control<QPushButton>(*form, QStringLiteral("Button1"))->isEnabled());

    // "Löschen" on the only item of panel 1 removes the date; the others move up one panel.
    clickButton(*form, QStringLiteral("SpeedButton11"));
    QCOMPARE(panelHeading(*form, 1), QStringLiteral("Hausaufgaben für 09.12.2026"));
    QCOMPARE(panelHeading(*form, 2), QStringLiteral("Hausaufgaben für 10.12.2026"));
    QCOMPARE(panelHeading(*form, 3), QStringLiteral("Keine Hausaufgaben"));
    QVERIFY(!env.settingsText().contains(QStringLiteral("08.12.2026")));
    QCOMPARE(control<QLabel>(*form, QStringLiteral("Label2"))->text(), QStringLiteral("Hausaufgabe"));
    QVERIFY(control<QPlainTextEdit>(*form, QStringLiteral("Memo1"))->toPlainText().isEmpty());
    for (const char *name : {"Button1", "SpeedButton5", "SpeedButton6"})
        QVERIFY2(!control<QAbstractButton>(*form, QLatin1String(name))->isEnabled(), name);

    // One of two items: only that homework goes, the date stays.
    QCOMPARE(texts(list(*form, 1)), QStringList({"Mathematik", "Physik"}));
    clickItem(list(*form, 1), 1);
    clickButton(*form, QStringLiteral("SpeedButton11"));
    QCOMPARE(texts(list(*form, 1)), QStringList({"Mathematik"}));
    QCOMPARE(panelHeading(*form, 1), QStringLiteral("Hausaufgaben für 09.12.2026"));
}

void tst_TForm1::furtherDateShownInLastPanel()
{
    TestEnvironment env;
    auto form = openWindow(env, homeworkDates(kNineDates.mid(0, 5), {{"14.12.2026", "Kunst=Bild\n"}}));
    auto *label2 = control<QLabel>(*form, QStringLiteral("Label2"));
    auto *memo = control<QPlainTextEdit>(*form, QStringLiteral("Memo1"));
    clickItem(list(*form, 1), 0);
    QCOMPARE(memo->toPlainText(), QStringLiteral("Aufgabe 08.12.2026"));

    // The clicked further date shows in panel 4, captioned without the leading blank.
    clickItem(list(*form, 5), 1);
    QCOMPARE(texts(list(*form, 4)), QStringList({"Mathematik", "Kunst"}));
    QCOMPARE(panelTitle(*form, 4), QStringLiteral("Hausaufgaben für 14.12.2026"));
    QCOMPARE(panelHeading(*form, 4), QStringLiteral("Hausaufgaben für 14.12.2026"));
    // The panel lists lose their selection; the text box and its buttons stay.
    QVERIFY(list(*form, 1)->selectedItems().isEmpty());
    QCOMPARE(label2->text(), QStringLiteral("Mathematik für den 08.12.2026 :"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("Aufgabe 08.12.2026"));
    QVERIFY(control<QPushButton>(*form, QStringLiteral("Button1"))->isEnabled());

    // Items of the shown date are read and deleted under that date.
    clickItem(list(*form, 4), 1);
    QCOMPARE(label2->text(), QStringLiteral("Kunst für den 14.12.2026 :"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("Bild"));
    QVERIFY(list(*form, 5)->selectedItems().isEmpty());
    clickButton(*form, QStringLiteral("SpeedButton14"));
    QVERIFY(!env.settingsText().contains(QStringLiteral("Kunst=")));
    // The refresh puts the fourth date back into panel 4.
    QCOMPARE(panelTitle(*form, 4), QStringLiteral(" Hausaufgaben für 11.12.2026"));
}

void tst_TForm1::savingJoinsTheLines()
{
    TestEnvironment env;
    auto form = openWindow(env, homeworkDates({"08.12.2026"}, {{"08.12.2026", "Ev. Religion=Psalm\n"}}));
    auto *memo = control<QPlainTextEdit>(*form, QStringLiteral("Memo1"));
    auto *save = control<QPushButton>(*form, QStringLiteral("Button1"));
    QVERIFY(!save->isEnabled());
    QCOMPARE(control<QLabel>(*form, QStringLiteral("Label2"))->text(), QStringLiteral("Hausaufgabe:"));

    // Three lines are stored as one, separated by single blanks, and read back as that line.
    clickItem(list(*form, 1), 1);
    QCOMPARE(memo->toPlainText(), QStringLiteral("Psalm"));
    memo->setPlainText(QStringLiteral("Psalm 23\nauswendig lernen\nbis Seite 4"));
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(env.settingsText().contains(QStringLiteral("Ev. Religion=Psalm 23 auswendig lernen bis Seite 4\n")));
    QVERIFY(save->isEnabled());
    clickItem(list(*form, 1), 0);
    clickItem(list(*form, 1), 1);
    QCOMPARE(memo->toPlainText(), QStringLiteral("Psalm 23 auswendig lernen bis Seite 4"));

    // The application buttons name the same homework.
    QSignalSpy start(form.get(), &TForm1::startApplicationRequested);
    QSignalSpy define(form.get(), &TForm1::defineApplicationRequested);
    clickButton(*form, QStringLiteral("SpeedButton5"));
    clickButton(*form, QStringLiteral("SpeedButton6"));
    QCOMPARE(start.value(0), QVariantList({"Ev. Religion", "08.12.2026"}));
    QCOMPARE(define.value(0), QVariantList({"Ev. Religion", "08.12.2026"}));
}

void tst_TForm1::sundayStartAndStepping()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    auto form = openWindow(env, QStringLiteral("[Montag]\n1=Mathematik\n[Freitag]\n1=Sport\n2=Sport\n"));
    auto *grid = control<QTableWidget>(*form, QStringLiteral("StringGrid1"));

    // The caption names the real weekday, the grid shows Friday.
    QCOMPARE(form->windowTitle(), QStringLiteral("Kalmora V2.0 - 06.12.2026, Sonntag"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Freitag"));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("Sport"));
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Zeit"));
    QCOMPARE(grid->item(10, 0)->text(), QStringLiteral("10"));

    // "Folgetag" shows Monday, "Vortag" Friday again; weekends are stepped over.
    clickButton(*form, QStringLiteral("Image2"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Montag"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Mathematik"));
    QCOMPARE(grid->item(2, 1)->text(), QString());
    QCOMPARE(form->DisplayDate(), QDate(2026, 12, 7));
    clickButton(*form, QStringLiteral("Image1"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Freitag"));
    QCOMPARE(form->DisplayDate(), QDate(2026, 12, 4));
    clickButton(*form, QStringLiteral("Image2"));
    QCOMPARE(form->DisplayDate(), QDate(2026, 12, 7));
    QCOMPARE(form->windowTitle(), QStringLiteral("Kalmora V2.0 - 06.12.2026, Sonntag"));
}

void tst_TForm1::timetableFollowsTheWeek()
{
    // Physik on Monday of week A, Chemie of week B; of the holidays only the week of 28.12.2026 counts as one.
    const QString plan = QStringLiteral("[Montag]\n1=Physik\n[Montag B]\n1=Chemie\n[Freitag]\n1=Sport\n[Freitag B]\n1=Musik\n"
                                        "[FERIEN]\nWEIHNACHTEN1=23.12.2026\nWEIHNACHTEN2=5.1.2027\n");
    const QString calendar = QStringLiteral("[WOCHEN]\nAB=1\nBezug=9.12.2026\nZaehlung=Kalender\n");
    const QString school = QStringLiteral("[WOCHEN]\nAB=1\nBezug=9.12.2026\nZaehlung=Schulwochen\n");
    const struct
    {
        QDate today;
        QString weeks;
        const char *header;
        const char *lesson;
    } cases[] = {
        {QDate(2026, 12, 14), calendar, "Montag (B)", "Chemie"},
        // Counted from the reference, not by week number: 2026 has a week 53.
        {QDate(2027, 1, 11), calendar, "Montag (B)", "Chemie"},
        // Counting school weeks, the holiday week does not count.
        {QDate(2027, 1, 11), school, "Montag (A)", "Physik"},
        // A Sunday shows the Friday before it, in that Friday's week.
        {QDate(2026, 12, 20), calendar, "Freitag (B)", "Musik"},
        // Without the option: week A, the header as ever.
        {QDate(2026, 12, 14), QString(), "Montag", "Physik"},
    };
    for (const auto &c : cases) {
        TestEnvironment env(QDateTime(c.today, QTime(9, 0)));
        auto form = openWindow(env, plan + c.weeks);
        auto *grid = control<QTableWidget>(*form, QStringLiteral("StringGrid1"));
        QCOMPARE(grid->item(0, 1)->text(), QString::fromLatin1(c.header));
        QCOMPARE(grid->item(1, 1)->text(), QString::fromLatin1(c.lesson));
    }
}

void tst_TForm1::gridOpensEntryDialog()
{
    TestEnvironment env;
    auto form = openWindow(env, QStringLiteral("[Montag]\n1=Mathematik\n2=Deutsch\n"));
    auto *grid = control<QTableWidget>(*form, QStringLiteral("StringGrid1"));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QSignalSpy chosen(form.get(), &TForm1::subjectChosen);

    // A click on a subject opens the dialog, also a second click on the same cell.
    clickCell(grid, 1, 1);
    clickCell(grid, 1, 1);
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("Mathematik"));

    // An empty lesson and the fixed cells open nothing; fixed cells are never selected.
    clickCell(grid, 3, 1);
    QCOMPARE(chosen.size(), 2);
    clickCell(grid, 0, 1);
    clickCell(grid, 2, 0);
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(grid->currentRow(), 3);
    for (QTableWidgetItem *item : grid->selectedItems())
        QVERIFY(item->row() >= 1 && item->column() == 1);

    // Moving the selection with the keyboard opens the dialog at once.
    clickCell(grid, 1, 1);
    chosen.clear();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("Deutsch"));
    // The cursor does not leave the lessons for the fixed cells.
    QTest::keyClick(grid, Qt::Key_Left);
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(grid->currentColumn(), 1);
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(chosen.size(), 2);
}

void tst_TForm1::toolbar()
{
    TestEnvironment env;
    auto form = openWindow(env, QString());
    const QList<std::pair<const char *, const char *>> hints = {
        {"Image1", "Vortag"}, {"Image2", "Folgetag"}, {"Button1", "Änderung übernehmen"},
        {"SpeedButton80", "Wochenplan ausdrucken"}, {"SpeedButton5", "Anwendung starten"},
        {"SpeedButton6", "Anwendung definieren"}, {"SpeedButton10", "Optionsbox"},
        {"SpeedButton7", "Ereigniseditor (oldschool)"}, {"SpeedButton15", "Hilfe"}};
    for (const auto &[name, hint] : hints)
        QCOMPARE(control<QWidget>(*form, QLatin1String(name))->toolTip(), QString::fromUtf8(hint));

    // Every button picture draws, also greyed out, in a size between the stored
    // ones and in one beyond them; so does the program icon, up to 256 pixels.
    for (QToolButton *button : form->findChildren<QToolButton *>()) {
        for (const QSize size : {QSize(20, 20), QSize(64, 64)}) {
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                const QImage picture = button->icon().pixmap(size, mode).toImage();
                QVERIFY2(hasOpaquePixel(picture), qPrintable(button->objectName()));
                QVERIFY(picture.width() <= size.width());
            }
        }
    }
    QCOMPARE(form->windowIcon().pixmap(256).width(), 256);
    QVERIFY(hasOpaquePixel(form->windowIcon().pixmap(16).toImage()));

    QSignalSpy settings(form.get(), &TForm1::settingsRequested);
    QSignalSpy alarms(form.get(), &TForm1::alarmsRequested);
    clickButton(*form, QStringLiteral("SpeedButton10"));
    clickButton(*form, QStringLiteral("SpeedButton7"));
    QCOMPARE(settings.size(), 1);
    QCOMPARE(alarms.size(), 1);

    // The help page is built in when none lies in the program directory.
    clickButton(*form, QStringLiteral("SpeedButton15"));
    auto *help = form->findChild<HelpWindow *>();
    QVERIFY(help && help->isVisible());
    QVERIFY(control<QTextBrowser>(*help, QStringLiteral("TextBrowser"))->toPlainText().contains(
        QStringLiteral("Hausaufgaben eintragen")));
    // A page in the program directory takes its place.
    env.writeFile(QStringLiteral("kalmora-hilfe.html"), "<html><body>Eigene Hilfe</body></html>");
    clickButton(*form, QStringLiteral("SpeedButton15"));
    QCOMPARE(form->findChildren<HelpWindow *>().size(), 1);
    QCOMPARE(control<QTextBrowser>(*help, QStringLiteral("TextBrowser"))->toPlainText(), QStringLiteral("Eigene Hilfe"));
}

void tst_TForm1::unreadableDueDate()
{
    TestEnvironment env;
    // A hand-edited key among seven due dates and a timetable: the key is named
    // once, and the caption, the grid, the panels and the further dates are
    // prepared from the readable dates; the past date is pruned.
    QStringList dates = {"01.12.2026", "kaputt"};
    dates += kNineDates.mid(0, 6);
    const QString settings = homeworkDates(dates) + QStringLiteral("[Montag]\n1=Deutsch\n");
    auto form = openWindow(env, settings);
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, QStringLiteral("'kaputt' is not a valid date"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Kalmora V2.0 - 07.12.2026, Montag"));
    QCOMPARE(control<QTableWidget>(*form, QStringLiteral("StringGrid1"))->item(1, 1)->text(), QStringLiteral("Deutsch"));
    QCOMPARE(panelHeading(*form, 1), QStringLiteral("Hausaufgaben für 08.12.2026"));
    QCOMPARE(panelHeading(*form, 4), QStringLiteral("Hausaufgaben für 11.12.2026"));
    QCOMPARE(texts(list(*form, 5)), QStringList({"11.12.2026", "14.12.2026", "15.12.2026"}));
    const QString stored = env.settingsText();
    QVERIFY(!stored.contains(QStringLiteral("[01.12.2026]")));
    QVERIFY(stored.contains(QStringLiteral("[Dates]\nkaputt=1\n08.12.2026=1\n")));
    QVERIFY(stored.contains(QStringLiteral("[kaputt]\nMathematik=Aufgabe kaputt\n")));

    // Later refreshes pass over the key silently: deleting a homework moves the
    // dates up without a message.
    clickItem(list(*form, 1), 0);
    clickButton(*form, QStringLiteral("SpeedButton11"));
    QCOMPARE(Prompt::takeAsked().size(), 0);
    QCOMPARE(panelHeading(*form, 1), QStringLiteral("Hausaufgaben für 09.12.2026"));
    QCOMPARE(control<QLabel>(*form, QStringLiteral("Label2"))->text(), QStringLiteral("Hausaufgabe"));
    QVERIFY(env.settingsText().contains(QStringLiteral("[Dates]\nkaputt=1\n09.12.2026=1\n")));
}

void tst_TForm1::firstRunHintShowsItsWholeText()
{
    TestEnvironment env;
    const QFont standard = QApplication::font();
    for (const qreal scale : {1.0, 1.25}) {
        // At the default font and at a larger one the wrapped text fits inside
        // the box, and the box inside the grid's lesson column.
        QFont font = standard;
        font.setPointSizeF(standard.pointSizeF() * scale);
        QApplication::setFont(font);
        auto form = openWindow(env, QString());
        form->show();
        auto *hint = control<QLabel>(*form, QStringLiteral("FirstRunHint"));
        QVERIFY(hint->isVisible());
        const QRect text = hint->contentsRect().adjusted(hint->margin(), hint->margin(), -hint->margin(), -hint->margin());
        const QRect needed = QFontMetrics(hint->font()).boundingRect(QRect(0, 0, text.width(), 10000),
                                                                      Qt::TextWordWrap, hint->text());
        QVERIFY2(needed.height() <= text.height(),
                 qPrintable(QStringLiteral("scale %1: the text needs %2 px, the box gives %3 px")
                                .arg(scale).arg(needed.height()).arg(text.height())));
        QVERIFY(hint->parentWidget()->rect().contains(hint->geometry()));
        // The ten lessons stay in view as well.
        auto *grid = control<QTableWidget>(*form, QStringLiteral("StringGrid1"));
        QVERIFY(grid->rowViewportPosition(10) + grid->rowHeight(10) <= grid->viewport()->height());
    }
    QApplication::setFont(standard);
}

QTEST_MAIN(tst_TForm1)
#include "tst_TForm1.moc"
