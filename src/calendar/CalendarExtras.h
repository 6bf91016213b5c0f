// The calendar export in the "Extras" menu, its option on the "Extras" tab, and keeping the file current.
#pragma once

#include "CalendarSettings.h"

#include <QObject>

class CalendarSync;
class ExtrasMenu;
class ExtrasTab;
class QWidget;

class CalendarExtras final : public QObject
{
    Q_OBJECT
public:
    explicit CalendarExtras(QObject *parent = nullptr);

    /// Adds "Kalender exportieren ..." to the menu and the calendar group to the tab.
    void install(ExtrasMenu *menu, ExtrasTab *tab);
    /// Starts keeping the file current when the stored option is on; with the
    /// option off nothing is built.
    void startFromSettings();
    /// The object keeping the file current; null until the option was on once.
    CalendarSync *sync() const { return m_sync; }

    /// "Kalender exportieren ...": asks for a file, writes the calendar there
    /// and names the file in a short confirmation. A failure is thrown with a
    /// German message; nothing is written then.
    static void ExportClick(QWidget *parent);

private:
    void follow(const CalendarSettings::Options &options);

    CalendarSync *m_sync = nullptr;
};
