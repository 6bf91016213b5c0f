// The start-up sequence of the program.
#include "Startup.h"

#include "Options/HolidayStore.h"
#include "ProgramState.h"
#include "TForm1.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/KalmoraApplication.h"

#include <QSystemTrayIcon>

#include <cstdio>

Startup::Startup() = default;
Startup::~Startup() = default;

void Startup::createWindows()
{
    m_form1 = std::make_unique<TForm1>();
    m_creationOrder.append(m_form1->objectName());
    ErrorReporter::guarded([&] { m_form1->FormCreate(); });
}

void Startup::finishStartup()
{
    if (ProgramState::StartupScanPending)
        ProgramState::StartupScanPending = false;
    // Without a tray nothing could show a hidden main window, so it is shown
    // during the holidays as well.
    const bool holiday = HolidayStore::IsHolidayToday();
    if (!holiday || !QSystemTrayIcon::isSystemTrayAvailable())
        m_form1->show();
}

TForm1 *Startup::mainWindow() const
{
    return m_form1.get();
}

int Startup::run(int &argc, char **argv)
{
    KalmoraApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalmora"));
    QApplication::setApplicationDisplayName(ErrorReporter::applicationTitle());
    QApplication::setQuitOnLastWindowClosed(false); // only closing the main window ends the program
    if (!Clock::initFromEnvironment())
        std::fprintf(stderr, "KALMORA_NOW is not an ISO 8601 date and time; the system clock is used.\n");
    Startup startup;
    startup.createWindows();
    startup.finishStartup();
    return app.exec();
}
