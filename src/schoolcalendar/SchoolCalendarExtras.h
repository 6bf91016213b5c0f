// The school's calendars in the windows: the group on the "Extras" tab, the band in the main window and the window of dates.
#pragma once

#include <QObject>
#include <QPointer>

class ExtrasTab;
class SchoolCalendarBand;
class SchoolCalendarService;
class SchoolCalendarWindow;
class QWidget;

class SchoolCalendarExtras final : public QObject
{
    Q_OBJECT
public:
    explicit SchoolCalendarExtras(QWidget *mainWindow);

    /// Adds the group "Schulkalender" to the tab and the band (hidden) to the main window.
    void install(ExtrasTab *tab);
    /// Shows the last good copies' dates and fetches the subscriptions; called after the first frame.
    void start();

    SchoolCalendarService *service() const { return m_service; }
    SchoolCalendarBand *band() const { return m_band; }
    /// The window of the next 8 weeks, built at its first opening.
    SchoolCalendarWindow *window() const;

private:
    void openWindow();
    void showDates();

    QWidget *m_mainWindow;
    SchoolCalendarService *m_service;
    SchoolCalendarBand *m_band = nullptr;
    QPointer<SchoolCalendarWindow> m_window;
};
