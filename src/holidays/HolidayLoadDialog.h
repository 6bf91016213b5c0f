// The dialog "Ferien laden": a state and school year chosen from the holiday table, their periods shown.
#pragma once

#include "SchoolHolidayTable.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class HolidayLoadDialog final : public QDialog
{
    Q_OBJECT
public:
    /// Offers the table's states, `state` chosen when it is one of them, and
    /// the table's school years with `year` among them and chosen.
    HolidayLoadDialog(SchoolHolidayTable table, const QString &state, const QString &year, QWidget *parent = nullptr);

    /// The chosen state's chosen school year; null when the table does not know it.
    const SchoolHolidayTable::SchoolYear *chosen() const;

private:
    void setupUi();
    void ShowPreview();
    void ApplyButtonClick();

    SchoolHolidayTable m_table;
    QComboBox *HolidayStateCombo = nullptr;
    QComboBox *HolidayYearCombo = nullptr;
    QTableWidget *HolidayPreview = nullptr;
    QLabel *HolidaySourceLabel = nullptr;
    QPushButton *HolidayApplyButton = nullptr;
    QPushButton *HolidayCancelButton = nullptr;
};
