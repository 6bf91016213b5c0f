// A/B weeks on the "Dezuvedired" tab: which week the grid shows and edits, and how the weeks alternate.
#include "TForm8.h"

#include "TimetablePrintout.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

int indexOf(Week week)
{
    return week == Week::A ? 0 : 1;
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *page)
{
    auto *label = new QLabel(text, page);
    label->setBuddy(buddy);
    return label;
}

}

QLayout *TForm8::setupWeekRow(QWidget *page)
{
    WeekABCheck = new QCheckBox(QStringLiteral("A/B-&Wochen"), page);
    WeekABCheck->setObjectName(QStringLiteral("WeekABCheck"));
    WeekABCheck->setToolTip(QStringLiteral("Die Schule unterrichtet im Wechsel: A- und B-Woche haben je einen eigenen "
                                           "Stundenplan (im Editmode änderbar)"));
    WeekABCombo = new QComboBox(page);
    WeekABCombo->setObjectName(QStringLiteral("WeekABCombo"));
    WeekABCombo->addItems({QStringLiteral("A-Woche"), QStringLiteral("B-Woche")});
    WeekABCombo->setToolTip(QStringLiteral("Welche Woche der Stundenplan zeigt und bearbeitet"));
    WeekReferenceEdit = new QDateEdit(page);
    WeekReferenceEdit->setObjectName(QStringLiteral("WeekReferenceEdit"));
    WeekReferenceEdit->setCalendarPopup(true);
    WeekReferenceEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    WeekReferenceEdit->setToolTip(QStringLiteral("Ein Tag einer A-Woche: von dieser Woche an wechseln A und B"));
    WeekCountingCombo = new QComboBox(page);
    WeekCountingCombo->setObjectName(QStringLiteral("WeekCountingCombo"));
    WeekCountingCombo->addItems({QStringLiteral("Kalenderwochen"), QStringLiteral("Schulwochen (Ferien zählen nicht)")});
    WeekCountingCombo->setToolTip(QStringLiteral("Kalenderwochen: A und B wechseln jede Woche, auch in den Ferien; "
                                                 "Schulwochen: eine Woche ganz in den Ferien zählt nicht"));

    // Two rows below the grid: the option and the week shown, then the alternation.
    auto *shown = new QHBoxLayout;
    shown->addWidget(WeekABCheck);
    shown->addSpacing(16);
    shown->addWidget(buddyLabel(QStringLiteral("A&ngezeigt:"), WeekABCombo, page));
    shown->addWidget(WeekABCombo);
    shown->addStretch();
    // The row has room at its end; a row of its own would push the controls over the grid.
    shown->addWidget(TimetableImportButton);
    auto *alternation = new QHBoxLayout;
    alternation->addWidget(buddyLabel(QStringLiteral("A-Woche a&m:"), WeekReferenceEdit, page));
    alternation->addWidget(WeekReferenceEdit);
    alternation->addSpacing(16);
    alternation->addWidget(buddyLabel(QStringLiteral("&Zählung:"), WeekCountingCombo, page));
    alternation->addWidget(WeekCountingCombo);
    alternation->addStretch();
    auto *rows = new QVBoxLayout;
    rows->addLayout(shown);
    rows->addLayout(alternation);

    connect(WeekABCheck, &QCheckBox::toggled, this, &TForm8::WeekABCheckClick);
    connect(WeekABCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { WeekABComboChange(index == 0 ? Week::A : Week::B); });
    return rows;
}

void TForm8::LoadWeeks()
{
    m_weekGrids[0] = gridContents();
    TimetableStore::LoadTimetable(m_weekGrids[1], Week::B);
    m_shownWeek = Week::A;
    const SchoolWeeks::Options options = SchoolWeeks::read();
    const QSignalBlocker check(WeekABCheck), combo(WeekABCombo);
    WeekABCheck->setChecked(options.on);
    WeekABCombo->setCurrentIndex(0);
    WeekReferenceEdit->setDate(options.reference.isValid() ? options.reference : Clock::today());
    WeekCountingCombo->setCurrentIndex(options.counting == SchoolWeeks::Counting::SchoolWeeks ? 1 : 0);
    updateWeekControls();
}

void TForm8::updateWeekControls()
{
    const bool edit = editMode();
    const bool on = WeekABCheck->isChecked();
    WeekABCheck->setEnabled(edit);
    WeekABCombo->setEnabled(on);
    WeekReferenceEdit->setEnabled(edit && on);
    WeekCountingCombo->setEnabled(edit && on);
}

SchoolWeeks::Options TForm8::weekOptions() const
{
    return {WeekABCheck->isChecked(), WeekReferenceEdit->date(),
            WeekCountingCombo->currentIndex() == 1 ? SchoolWeeks::Counting::SchoolWeeks : SchoolWeeks::Counting::Calendar};
}

void TForm8::keepShownWeek()
{
    finishCellEdit();
    m_weekGrids[indexOf(m_shownWeek)] = gridContents();
}

void TForm8::WeekABComboChange(Week week)
{
    // The week left keeps its edits in memory until the tab is saved or loaded anew.
    keepShownWeek();
    m_shownWeek = week;
    const TimetableGrid &grid = m_weekGrids[indexOf(week)];
    for (int r = 1; r < TimetableGrid::Rows; ++r) {
        for (int c = 1; c < TimetableGrid::Columns; ++c)
            StringGrid1->item(r, c)->setText(grid.at(c, r));
    }
}

void TForm8::WeekABCheckClick(bool on)
{
    if (!on)
        WeekABCombo->setCurrentIndex(0); // without A/B weeks the grid is week A
    updateWeekControls();
}

void TForm8::SaveWeeks()
{
    keepShownWeek();
    TimetableStore::SaveTimetables(m_weekGrids[0], m_weekGrids[1], weekOptions());
}

QStringList TForm8::PrintoutLines()
{
    keepShownWeek();
    return WeekABCheck->isChecked() ? TimetablePrintout::Lines(m_weekGrids[0], m_weekGrids[1])
                                    : TimetablePrintout::Lines(m_weekGrids[0]);
}
