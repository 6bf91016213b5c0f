// The dialog "Stundenplan übernehmen": the timetable read from a subscription beside the current one.
#pragma once

#include "TimetableImport.h"
#include "schoolcalendar/SchoolCalendarSettings.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class TimetableImportDialog final : public QDialog
{
    Q_OBJECT
public:
    /// Offers the stored subscriptions, the first chosen; without any it says how to add one.
    explicit TimetableImportDialog(QWidget *parent = nullptr);

    const TimetableImport::Proposal &proposal() const { return m_proposal; }

private:
    void setupUi();
    QTableWidget *timetableTable(const char *name);
    void SubscriptionComboChange();
    void ReadTables();
    void ShowProposal();
    void ApplyButtonClick();

    QList<SchoolCalendarSettings::Subscription> m_subscriptions;
    QList<SchoolDate> m_lessons;
    TimetableImportSettings::Values m_settings;
    SchoolWeeks::Options m_currentWeeks;
    std::vector<HolidayStore::Days> m_holidays;
    TimetableGrid m_currentA;
    TimetableGrid m_currentB;
    TimetableImport::Proposal m_proposal;
    QString m_problem; // German: the chosen subscription cannot be read (fully)
    bool m_filling = false;

    QComboBox *SubscriptionCombo = nullptr;
    QLabel *NoSubscriptionLabel = nullptr;
    QTableWidget *BellTimeTable = nullptr;
    QTableWidget *SubjectNameTable = nullptr;
    QComboBox *WeekCombo = nullptr;
    QTableWidget *NewTimetable = nullptr;
    QTableWidget *CurrentTimetable = nullptr;
    QLabel *WeeksLabel = nullptr;
    QLabel *WarningLabel = nullptr;
    QPushButton *ApplyButton = nullptr;
    QPushButton *CancelButton = nullptr;
};
