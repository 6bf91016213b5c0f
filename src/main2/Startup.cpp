// The start-up sequence of the program.
#include "Startup.h"

#include "model/HolidayStore.h"
#include "TBNArea/TTBNArea.h"
#include "ProgramState.h"
#include "TForm1.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/FirstFrameReport.h"
#include "platform/KalmoraApplication.h"
#include "platform/ProfileFile.h"
#include "platform/WindowPlacement.h"

#include "appearance/AccessibleNames.h"
#include "backup/BackupCommand.h"
#include "backup/DataFolderLock.h"
#include "backup/Restore.h"
#include "backup/Snapshots.h"
#include "deferred/DeferredModule.h"
#include "platform/Errors.h"
#include "platform/WavePlayer.h"
#include "termin/DueEvents.h"
#include "termin/TForm10.h"

#include <QEvent>
#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {
// Calls `then` once the window's first paint has been handled.
class FirstPaintWatcher final : public QObject
{
public:
    FirstPaintWatcher(QWidget *window, std::function<void()> then)
        : QObject(window), m_then(std::move(then))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                m_then();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_then;
};
}

Startup::Startup()
    : m_trayAvailable(&QSystemTrayIcon::isSystemTrayAvailable)
{
}

Startup::~Startup()
{
    // Ended before the writing began: the snapshot is written now, since the
    // next start would find the files already pruned.
    if (m_pendingSnapshot) {
        try {
            m_pendingSnapshot->write();
        } catch (...) {
        }
    }
}

void Startup::createWindows()
{
    createMainWindow();
    createOtherWindows();
}

void Startup::createMainWindow()
{
    // Before anything reads the data files: a restore cut off is finished, and
    // the first start of a day keeps the files as they are before pruning.
    ErrorReporter::guarded([] { Restore::recoverInterrupted(); });
    ErrorReporter::guarded([this] { m_pendingSnapshot = Snapshots::prepareDaily(); });
    m_form1 = std::make_unique<TForm1>();
    created(m_form1.get());
    ErrorReporter::guarded([&] { m_form1->FormCreate(); });
}

bool Startup::createOtherWindows()
{
    if (m_others)
        return true;
    DeferredModule *module = DeferredModule::get();
    if (!module) {
        reportMissingModuleOnRequests();
        return false;
    }
    m_others = module->createWindows(*m_form1, m_reminder.get(), [this](QWidget *window) { created(window); });
    if (m_waitingDueEvents) {
        m_others->takeDueEvents(std::move(*m_waitingDueEvents));
        m_waitingDueEvents.reset();
    }
    return true;
}

void Startup::createOtherWindowsAfterFirstFrame()
{
    const auto create = [this] {
        ErrorReporter::guarded([this] { createOtherWindows(); });
        WavePlayer::release();
    };
    if (m_form1->isVisible())
        new FirstPaintWatcher(m_form1.get(), create);
    else
        QTimer::singleShot(0, m_form1.get(), create);
}

void Startup::reportMissingModuleOnRequests()
{
    // Said when a function of the module is chosen, not at start.
    const auto report = [] { ErrorReporter::report(KalmoraError(DeferredModule::loadError())); };
    TForm1 *form1 = m_form1.get();
    QObject::connect(form1, &TForm1::subjectChosen, form1, report);
    QObject::connect(form1, &TForm1::settingsRequested, form1, report);
    QObject::connect(form1, &TForm1::alarmsRequested, form1, report);
    QObject::connect(form1, &TForm1::defineApplicationRequested, form1, report);
    QObject::connect(form1, &TForm1::startApplicationRequested, form1, report);
}

void Startup::created(QWidget *window)
{
    m_creationOrder.append(window->objectName());
}

void Startup::scanDueEventsWithoutWindows()
{
    DueQueue queue;
    DueEvents::ScanDueEvents(queue);
    if (queue.firstDueBefore(Clock::now()) < 0) {
        m_waitingDueEvents = std::move(queue);
        return;
    }
    // One due now shows before the main window, as ever; its sound waits for
    // the first frame, which the sound library would delay.
    WavePlayer::hold();
    m_reminder = std::make_unique<TForm10>();
    created(m_reminder.get());
    m_reminder->TakeScannedEvents(std::move(queue));
}

void Startup::finishStartup()
{
    if (ProgramState::StartupScanPending) {
        // Here and not in the main window's preparation: the scan fills and
        // shows the reminder window, which is created after the main window.
        ProgramState::StartupScanPending = false;
        if (m_others)
            ErrorReporter::guarded([this] { m_others->scanDueEvents(); });
        else
            ErrorReporter::guarded([this] { scanDueEventsWithoutWindows(); });
    }
    // Without a tray nothing could show a hidden main window, so it is shown
    // during the holidays as well.
    if (!HolidayStore::IsHolidayToday() || !m_trayAvailable())
        m_form1->show();
    // The snapshot is written on a thread once the window is up; a failure is named when it is done.
    QTimer::singleShot(500, m_form1.get(), [this] { startSnapshotWriting(); });
    QTimer::singleShot(3000, m_form1.get(), [this] {
        if (m_dailySnapshot.valid())
            ErrorReporter::guarded([this] { m_dailySnapshot.get(); });
    });
}

void Startup::startSnapshotWriting()
{
    if (!m_pendingSnapshot)
        return;
    m_dailySnapshot = std::async(std::launch::async, [daily = std::move(*m_pendingSnapshot)] { return daily.write(); });
    m_pendingSnapshot.reset();
}

TForm1 *Startup::mainWindow() const
{
    return m_form1.get();
}

TForm8 *Startup::settingsWindow() const
{
    return m_others ? m_others->settingsWindow() : nullptr;
}

int Startup::run(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (BackupCommand::isBackupCall(arguments)) {
        QCoreApplication app(argc, argv);
        DeferredModule *module = DeferredModule::get();
        if (!module) {
            std::fprintf(stderr, "%s\n", qPrintable(DeferredModule::loadError()));
            return 2;
        }
        return module->runBackupCommand(QCoreApplication::arguments());
    }
    KalmoraApplication app(argc, argv);
    // Held while the planner runs; a second planner on the same folder runs on without it.
    DataFolderLock folderLock;
    folderLock.acquire();
    QApplication::setApplicationName(QStringLiteral("Kalmora"));
    // No display name: Qt would append it to every caption, and the captions carry the title themselves.
    QApplication::setQuitOnLastWindowClosed(false); // only closing the main window ends the program
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (!KalmoraApplication::installGermanTranslation())
        std::fprintf(stderr, "Qt's German translation (qt6-translations-l10n) is missing; standard dialogs stay English.\n");
    if (!Clock::initFromEnvironment())
        std::fprintf(stderr, "KALMORA_NOW is not an ISO 8601 date and time; the system clock is used.\n");
    AccessibleNames::install(); // before the windows are built, so that screen readers find every control named
    Startup startup;
    {
        // Up to the first showing the settings file is read once, and each of
        // the start's writes lands in what the later reads get.
        ProfileFile::ReadOnceScope readOnce;
        startup.createMainWindow();
        QApplication::setWindowIcon(startup.mainWindow()->windowIcon());
        startup.finishStartup();
    }
    // Before the report is armed, whose end of the process must come first.
    startup.createOtherWindowsAfterFirstFrame();
    FirstFrameReport::armFromEnvironment(startup.mainWindow(), [] {
        return "profile-parses=" + std::to_string(ProfileFile::parseCount());
    });
    return app.exec();
}
