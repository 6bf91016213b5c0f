// Wiring the school's calendars into the windows.
#include "SchoolCalendarExtras.h"

#include "SchoolCalendarBand.h"
#include "SchoolCalendarGroup.h"
#include "SchoolCalendarService.h"
#include "SchoolCalendarWindow.h"
#include "extras/ExtrasTab.h"
#include "platform/ErrorReporter.h"
#include "platform/WindowPlacement.h"

SchoolCalendarExtras::SchoolCalendarExtras(QWidget *mainWindow)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
    , m_service(new SchoolCalendarService(this))
{
}

void SchoolCalendarExtras::install(ExtrasTab *tab)
{
    tab->addGroup([this] { return new SchoolCalendarGroup(*m_service); });
    m_band = new SchoolCalendarBand(m_mainWindow);
    connect(m_band, &QPushButton::clicked, this, [this] { ErrorReporter::guarded([this] { openWindow(); }); });
    connect(m_service, &SchoolCalendarService::datesChanged, this, [this] { ErrorReporter::guarded([this] { showDates(); }); });
}

void SchoolCalendarExtras::start()
{
    m_service->start();
}

void SchoolCalendarExtras::showDates()
{
    m_band->showDates(m_service->dates().dates);
    if (m_window && m_window->isVisible())
        m_window->showDates(m_service->dates().dates);
}

SchoolCalendarWindow *SchoolCalendarExtras::window() const
{
    return m_window;
}

void SchoolCalendarExtras::openWindow()
{
    if (!m_window) {
        m_window = new SchoolCalendarWindow(m_mainWindow);
        WindowPlacement::centreOver(m_window, m_mainWindow);
    }
    m_window->showDates(m_service->dates().dates);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
