// The settings window's timetable tab: edit mode and its question, the subject menu, caption and tabs.
#include "Options/TForm8.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

class tst_TForm8Timetable final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void leavingEditModeAsks();
    void hidingInEditModeDropsEdits();
    void subjectMenu();
    void captionTabsAndFixedCells();
    void slotsShowEverySubject();
    void abWeeks();

private:
    TemporaryConfigHome m_config;
};

namespace {

// An empty research catalogue: showing the window reports nothing.
void writeEmptyCatalogue(const TestEnvironment &env)
{
    env.writeFile(QStringLiteral("inet.txt"), QByteArray());
}

QTableWidget *gridOf(TForm8 &form)
{
    return form.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
}

QPushButton *editButton(TForm8 &form)
{
    return form.findChild<QPushButton *>(QStringLiteral("Button5"));
}

// Shows the window on the timetable tab; returns the timetable grid.
QTableWidget *showTimetableTab(TForm8 &form)
{
    form.show();
    form.findChild<QTabWidget *>()->setCurrentIndex(0);
    return gridOf(form);
}

QPoint cellCenter(QTableWidget *grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

// Selects a slot with the mouse, presses F2 and types; Return ends the edit unless `keepOpen`.
bool typeIntoSlot(QTableWidget *grid, int row, int column, const QString &text, bool keepOpen = false)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, row, column));
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *editor = grid->indexWidget(grid->currentIndex());
    if (!editor)
        return false;
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
    if (!keepOpen)
        QTest::keyClick(editor, Qt::Key_Return);
    return true;
}

// A right-click as the window system delivers it: press and release, then the menu request.
void rightClick(QTableWidget *grid, int row, int column)
{
    const QPoint position = cellCenter(grid, row, column);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, position);
    QContextMenuEvent request(QContextMenuEvent::Mouse, position, grid->viewport()->mapToGlobal(position));
    QApplication::sendEvent(grid->viewport(), &request);
}

void chooseMenuEntry(QMenu *menu, const QString &path)
{
    for (const QString &caption : path.split(u'/')) {
        const QList<QAction *> actions = menu->actions();
        const auto found = std::find_if(actions.begin(), actions.end(), [&](QAction *a) { return a->text() == caption; });
        QVERIFY2(found != actions.end(), qPrintable(path));
        if (!(*found)->menu())
            (*found)->trigger();
        else
            menu = (*found)->menu();
    }
}

}

void tst_TForm8Timetable::leavingEditModeAsks()
{
    TestEnvironment env;
    writeEmptyCatalogue(env);
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n"));
    TForm8 form;
    QTableWidget *grid = showTimetableTab(form);
    QPushButton *edit = editButton(form);
    QCOMPARE(edit->text(), QStringLiteral("&Editmode (aus)"));

    // With edit mode off a slot can be selected but not edited.
    QVERIFY(!typeIntoSlot(grid, 2, 1, QStringLiteral("Deutsch")));
    QTest::keyClicks(grid, QStringLiteral("x"));
    QCOMPARE(grid->item(2, 1)->text(), QString());

    // On and straight off again still asks; No throws the edits away.
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("&Editmode (an)"));
    QVERIFY(typeIntoSlot(grid, 1, 1, QStringLiteral("Physik")));
    Prompt::takeAsked();
    Prompt::queueAnswers({QMessageBox::No});
    QTest::mouseClick(edit, Qt::LeftButton);
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Hinweis"));
    QCOMPARE(asked[0].text, QStringLiteral("Sollen die bereits vorhandenen Plandaten überspielt werden?"));
    QCOMPARE(asked[0].icon, QMessageBox::Warning);
    QCOMPARE(asked[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(edit->text(), QStringLiteral("&Editmode (aus)"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Mathematik"));

    // Cancel keeps the edits and edit mode and writes nothing.
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(typeIntoSlot(grid, 1, 2, QStringLiteral("Deutsch")));
    Prompt::queueAnswers({QMessageBox::Cancel});
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("&Editmode (an)"));
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("Deutsch"));
    QCOMPARE(env.settingsText(), QStringLiteral("[Montag]\n1=Mathematik\n"));

    // A later Yes saves every slot, also one whose editor was still open when
    // the button was pressed by its shortcut.
    QVERIFY(typeIntoSlot(grid, 10, 5, QStringLiteral("Sport"), true));
    Prompt::queueAnswers({QMessageBox::Yes});
    edit->click();
    QCOMPARE(edit->text(), QStringLiteral("&Editmode (aus)"));
    const QString text = env.settingsText();
    QVERIFY(text.startsWith(QStringLiteral("[Montag]\n1=Mathematik\n2=\n")));
    QVERIFY(text.contains(QStringLiteral("[Dienstag]\n1=Deutsch\n2=\n")));
    QVERIFY(text.endsWith(QStringLiteral("[Freitag]\n1=\n2=\n3=\n4=\n5=\n6=\n7=\n8=\n9=\n10=Sport\n")));
}

void tst_TForm8Timetable::hidingInEditModeDropsEdits()
{
    TestEnvironment env;
    writeEmptyCatalogue(env);
    env.writeSettings(QStringLiteral("[Mittwoch]\n3=Biologie\n"));
    TForm8 form;
    QTableWidget *grid = showTimetableTab(form);
    QTest::mouseClick(editButton(form), Qt::LeftButton);
    QVERIFY(typeIntoSlot(grid, 3, 3, QStringLiteral("Erdkunde")));
    QVERIFY(typeIntoSlot(grid, 4, 3, QStringLiteral("Musik"), true));
    form.findChild<QPushButton *>(QStringLiteral("Button6"))->click();
    QVERIFY(!form.isVisible());

    // Showing again brings the stored timetable back (the open editor does
    // not hand its text over later), and edit mode stays on.
    form.show();
    QCOMPARE(grid->item(3, 3)->text(), QStringLiteral("Biologie"));
    QVERIFY(!grid->indexWidget(grid->currentIndex()));
    QCOMPARE(grid->item(4, 3)->text(), QString());
    QCOMPARE(editButton(form)->text(), QStringLiteral("&Editmode (an)"));
    QCOMPARE(env.settingsText(), QStringLiteral("[Mittwoch]\n3=Biologie\n"));
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_TForm8Timetable::abWeeks()
{
    TestEnvironment env;
    writeEmptyCatalogue(env);
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n[Montag B]\n1=Chemie\n"));
    TForm8 form;
    QTableWidget *grid = showTimetableTab(form);
    auto *check = form.findChild<QCheckBox *>(QStringLiteral("WeekABCheck"));
    auto *week = form.findChild<QComboBox *>(QStringLiteral("WeekABCombo"));
    // Off, the week cannot be chosen; the option changes in edit mode only.
    QVERIFY(!check->isEnabled() && !week->isEnabled());
    QTest::mouseClick(editButton(form), Qt::LeftButton);
    check->click();

    // Switching weeks keeps the edits of both, also an editor still open; saving writes both and the alternation.
    QVERIFY(typeIntoSlot(grid, 3, 1, QStringLiteral("Physik"), true));
    week->setCurrentIndex(1);
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Chemie"));
    QVERIFY(typeIntoSlot(grid, 2, 1, QStringLiteral("Musik")));
    week->setCurrentIndex(0);
    form.findChild<QDateEdit *>(QStringLiteral("WeekReferenceEdit"))->setDate(QDate(2026, 12, 9));
    form.findChild<QComboBox *>(QStringLiteral("WeekCountingCombo"))->setCurrentIndex(1);
    Prompt::queueAnswers({QMessageBox::Yes});
    editButton(form)->click();
    QCOMPARE(TimetableStore::readSchoolDay(QStringLiteral("Montag")).mid(0, 3), QStringList({"Mathematik", "", "Physik"}));
    QCOMPARE(TimetableStore::readSchoolDay(QStringLiteral("Montag"), Week::B).mid(0, 2), QStringList({"Chemie", "Musik"}));
    QCOMPARE(SchoolWeeks::read(), (SchoolWeeks::Options{true, QDate(2026, 12, 9), SchoolWeeks::Counting::SchoolWeeks}));
}

void tst_TForm8Timetable::subjectMenu()
{
    TestEnvironment env;
    writeEmptyCatalogue(env);
    TForm8 form;
    QTableWidget *grid = showTimetableTab(form);
    auto *menu = form.findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, 4, 3));

    // Edit mode off: no menu. On: the menu opens; neither moves the selection.
    rightClick(grid, 1, 1);
    QVERIFY(!menu->isVisible());
    QTest::mouseClick(editButton(form), Qt::LeftButton);
    rightClick(grid, 1, 1);
    QVERIFY(menu->isVisible());
    menu->hide();
    QCOMPARE(grid->currentRow(), 4);
    QCOMPARE(grid->currentColumn(), 3);

    // Entries write their text into the selected slot; four of them a short form.
    const QList<std::pair<QString, QString>> entries = {
        {"Religionen/Katholisch", "Kt. Religion"}, {"Religionen/Evangelisch", "Ev. Religion"},
        {"Künsterliche Fächer/Bildende Kunst", "BK"}, {"Sprachen/Französisch", "Französisch"}, {"Frei", "FREI"}};
    for (const auto &[path, text] : entries) {
        chooseMenuEntry(menu, path);
        QCOMPARE(grid->item(4, 3)->text(), text);
    }
    QVERIFY(!QFile::exists(env.path(QStringLiteral("DEZUVEDIRED.INI"))));

    // "Standardanwendung" hands on the selected slot's text.
    QSignalSpy requested(&form, &TForm8::standardApplicationRequested);
    auto *standard = menu->findChild<QAction *>(QStringLiteral("Standardanwendung"));
    QVERIFY(standard);
    rightClick(grid, 1, 1);
    QVERIFY(standard->isEnabled());
    menu->hide();
    chooseMenuEntry(menu, QStringLiteral("Standardanwendung"));
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested[0][0].toString(), QStringLiteral("FREI"));
    // An empty slot, or one of blanks, names no subject: the entry is greyed
    // and, chosen all the same, opens nothing.
    grid->item(3, 2)->setText(QStringLiteral("  "));
    for (int row : {2, 3}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, row, 2));
        rightClick(grid, row, 2);
        QVERIFY(!standard->isEnabled());
        menu->hide();
        standard->setEnabled(true);
        chooseMenuEntry(menu, QStringLiteral("Standardanwendung"));
    }
    QCOMPARE(requested.size(), 1);
}

void tst_TForm8Timetable::captionTabsAndFixedCells()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 6), QTime(18, 30)));
    writeEmptyCatalogue(env);
    TForm8 form;
    auto *tabs = form.findChild<QTabWidget *>();

    // The caption names today; the first showing opens on the research tab,
    // later ones on the tab last selected.
    form.show();
    QCOMPARE(form.windowTitle(), QStringLiteral("Kalmora V2.0 - 06.12.2026, Sonntag"));
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Internet - Recherche"));
    tabs->setCurrentIndex(0);
    form.hide();
    Clock::setNow(QDateTime(QDate(2027, 1, 4), QTime(7, 0)));
    form.show();
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(form.windowTitle(), QStringLiteral("Kalmora V2.0 - 04.01.2027, Montag"));

    // Headers are there without a settings file, and every cell is in view.
    QTableWidget *grid = gridOf(form);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Zeit"));
    QCOMPARE(grid->item(10, 0)->text(), QStringLiteral("10"));
    QCOMPARE(grid->item(0, 4)->text(), QStringLiteral("Donnerstag"));
    QVERIFY(grid->viewport()->rect().contains(grid->visualRect(grid->model()->index(10, 5))));

    // Fixed cells are reached neither by the mouse nor by the keys, even in edit mode.
    QTest::mouseClick(editButton(form), Qt::LeftButton);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, 1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, 0, 3));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCenter(grid, 5, 0));
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
    QCOMPARE(grid->selectedItems(), QList<QTableWidgetItem *>{grid->item(1, 1)});
    QVERIFY(!grid->indexWidget(grid->model()->index(5, 0)));
}

void tst_TForm8Timetable::slotsShowEverySubject()
{
    TestEnvironment env;
    writeEmptyCatalogue(env);
    const QFont defaultFont = QApplication::font();
    QFont large = defaultFont;
    large.setPointSizeF(defaultFont.pointSizeF() * 1.5);
    // At the default font and at a large one, the grid measuring itself anew.
    for (const QFont &font : {defaultFont, large}) {
        QApplication::setFont(font);
        TForm8 form;
        QTableWidget *grid = showTimetableTab(form);
        auto *menu = form.findChild<QMenu *>(QStringLiteral("PopupMenu1"));
        // Every entry of the subject menu, by its caption and by the text it writes.
        QStringList subjects;
        QList<QMenu *> menus{menu};
        while (!menus.isEmpty()) {
            for (QAction *action : menus.takeFirst()->actions()) {
                if (action->menu()) {
                    menus.append(action->menu());
                } else if (!action->isSeparator() && action->text() != QStringLiteral("Standardanwendung")) {
                    action->trigger();
                    subjects << action->text() << grid->currentItem()->text();
                }
            }
        }
        QVERIFY(subjects.contains(QStringLiteral("Bildende Kunst")));
        QVERIFY(subjects.contains(QStringLiteral("Kt. Religion")));
        // Each shows whole in every day column: the view keeps a margin on either
        // side of the text, and the grid line takes a pixel; so do the bold day names.
        const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        const QFontMetrics slotMetrics(grid->font());
        const QFontMetrics headerMetrics(grid->item(0, 1)->font());
        for (int c = 1; c < TimetableGrid::Columns; ++c) {
            const int room = grid->columnWidth(c) - 1 - 2 * margin;
            for (const QString &subject : std::as_const(subjects))
                QVERIFY2(slotMetrics.horizontalAdvance(subject) <= room, qPrintable(subject));
            QVERIFY2(headerMetrics.horizontalAdvance(grid->item(0, c)->text()) <= room, qPrintable(grid->item(0, c)->text()));
        }
        if (font == defaultFont) {
            // The wider grid still lies whole inside the window, clear of the buttons.
            const QRect gridArea(grid->mapTo(&form, QPoint(0, 0)), grid->size());
            QVERIFY(form.rect().contains(gridArea));
            QWidget *print = form.findChild<QPushButton *>(QStringLiteral("BitBtn1"));
            QVERIFY(gridArea.bottom() < print->mapTo(&form, QPoint(0, 0)).y());
        }
    }
    QApplication::setFont(defaultFont);
}

QTEST_MAIN(tst_TForm8Timetable)
#include "tst_TForm8Timetable.moc"
