// The button "Ferien laden ..." of the "Ferien" tab: fills the tab's fields from the holiday table.
#pragma once

#include "SchoolHolidayTable.h"

#include <QObject>

#include <array>
#include <optional>

class QLineEdit;
class QPushButton;

class HolidayLoader final : public QObject
{
    Q_OBJECT
public:
    /// Creates the button "HolidayLoadButton" beside the tab's fields. Its
    /// dialog writes into `fields` (row order of the tab); once the tab's
    /// `applyButton` has stored those texts, the state and school year are remembered.
    static QPushButton *install(QWidget *page, QPushButton *applyButton, const std::array<QLineEdit *, 12> &fields);

private:
    HolidayLoader(QPushButton *button, const std::array<QLineEdit *, 12> &fields);
    void LoadButtonClick();
    void Fill(const SchoolHolidayTable::SchoolYear &year);
    void RememberIfStored();

    QPushButton *m_button;
    std::array<QLineEdit *, 12> m_fields;
    // The texts the dialog wrote, with their state and year, until the tab stores them.
    struct Pending
    {
        QString state;
        QString year;
        std::array<std::optional<QString>, 12> texts;
    };
    std::optional<Pending> m_pending;
};
