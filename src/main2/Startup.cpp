// The start-up sequence of the program.
#include "Startup.h"

#include "Options/HolidayStore.h"
#include "ProgramState.h"
#include "TForm1.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/KalmoraApplication.h"

// The homework entry dialog joins once its folder is part of the build.
#if __has_include("eingabe/TForm2.h") && defined(KALMORA_HAVE_ENTRY_DIALOG)
#include "eingabe/TForm2.h"
#define KALMORA_ENTRY_DIALOG 1
#endif

#include <QStyleFactory>
#include <QSystemTrayIcon>

#include <cstdio>

Startup::Startup()
    : m_trayAvailable(&QSystemTrayIcon::isSystemTrayAvailable)
{
}

Startup::~Startup() = default;

void Startup::createWindows()
{
    m_form1 = std::make_unique<TForm1>();
    created(m_form1.get());
    ErrorReporter::guarded([&] { m_form1->FormCreate(); });
#ifdef KALMORA_ENTRY_DIALOG
    m_dialogs.push_back(std::make_unique<TForm2>());
    created(m_dialogs.back().get());
#endif
    wireWindows();
}

void Startup::created(QWidget *window)
{
    m_creationOrder.append(window->objectName());
}

void Startup::wireWindows()
{
#ifdef KALMORA_ENTRY_DIALOG
    TForm1 *form1 = m_form1.get();
    auto *form2 = static_cast<TForm2 *>(m_dialogs.at(0).get());
    QObject::connect(form1, &TForm1::subjectChosen, form2, [form2](const QString &subject) {
        ErrorReporter::guarded([&] { form2->openForSubject(subject); });
    });
    QObject::connect(form2, &TForm2::homeworkStored, form1, [form1] {
        ErrorReporter::guarded([&] {
            form1->RefreshDayPanels();
            form1->WidenListBox5();
        });
    });
#endif
}

void Startup::finishStartup()
{
    if (ProgramState::StartupScanPending) {
        // The due-event scan of the reminder window runs here once.
        ProgramState::StartupScanPending = false;
    }
    // Without a tray nothing could show a hidden main window, so it is shown
    // during the holidays as well.
    if (!HolidayStore::IsHolidayToday() || !m_trayAvailable())
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
    // No display name: Qt would append it to every caption, and the captions carry the title themselves.
    QApplication::setQuitOnLastWindowClosed(false); // only closing the main window ends the program
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (!Clock::initFromEnvironment())
        std::fprintf(stderr, "KALMORA_NOW is not an ISO 8601 date and time; the system clock is used.\n");
    Startup startup;
    startup.createWindows();
    QApplication::setWindowIcon(startup.mainWindow()->windowIcon());
    startup.finishStartup();
    return app.exec();
}
