// The start-up sequence of the program.
#include "Startup.h"

#include "Options/HolidayStore.h"
#include "TBNArea/TTBNArea.h"
#include "ProgramState.h"
#include "TForm1.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/FirstFrameReport.h"
#include "platform/KalmoraApplication.h"
#include "platform/ProfileFile.h"
#include "platform/WindowPlacement.h"

#include "Kalder/TForm9.h"
#include "Options/TForm8.h"
#include "almain/TForm5.h"
#include "appearance/AccessibleNames.h"
#include "appearance/Appearance.h"
#include "backup/BackupExtras.h"
#include "backup/BackupCommand.h"
#include "backup/DataFolderLock.h"
#include "backup/Restore.h"
#include "backup/Snapshots.h"
#include "calendar/CalendarExtras.h"
#include "sync/SyncExtras.h"
#include "dexec/TForm7.h"
#include "eingabe/TForm2.h"
#include "exec/Launcher.h"
#include "exec/TForm3.h"
#include "grades/GradeExtras.h"
#include "holidays/NextSchoolYearOffer.h"
#include "recurring/RecurringExtras.h"
#include "packing/PackingExtras.h"
#include "schoolcalendar/SchoolCalendarExtras.h"
#include "termin/TForm10.h"

#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {
void showWithoutWaiting(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
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
    // Before anything reads the data files: a restore cut off is finished, and
    // the first start of a day keeps the files as they are before pruning.
    ErrorReporter::guarded([] { Restore::recoverInterrupted(); });
    ErrorReporter::guarded([this] { m_pendingSnapshot = Snapshots::prepareDaily(); });
    m_form1 = std::make_unique<TForm1>();
    created(m_form1.get());
    ErrorReporter::guarded([&] { m_form1->FormCreate(); });
    m_form2 = create<TForm2>();
    m_form3 = create<TForm3>();
    m_form5 = create<TForm5>();
    m_form7 = create<TForm7>();
    m_form8 = create<TForm8>();
    // The picker is shared by every window that asks for a date and lives to the end.
    created(&TForm9::instance());
    m_form10 = create<TForm10>();
    wireWindows();
}

template<class Window>
Window *Startup::create()
{
    auto window = std::make_unique<Window>();
    Window *raw = window.get();
    m_dialogs.push_back(std::move(window));
    created(raw);
    return raw;
}

void Startup::created(QWidget *window)
{
    m_creationOrder.append(window->objectName());
}

void Startup::wireWindows()
{
    TForm1 *form1 = m_form1.get();
    TForm2 *form2 = m_form2;
    QObject::connect(form1, &TForm1::subjectChosen, form2, [form2](const QString &subject) {
        ErrorReporter::guarded([&] { form2->openForSubject(subject); });
    });
    QObject::connect(form2, &TForm2::homeworkStored, form1, [form1] {
        ErrorReporter::guarded([&] {
            form1->RefreshDayPanels();
            form1->WidenListBox5();
        });
    });
    TForm8 *form8 = m_form8;
    QObject::connect(form1, &TForm1::settingsRequested, form8, [form1, form8] {
        WindowPlacement::centreOver(form8, form1);
        showWithoutWaiting(form8);
    });
    QObject::connect(form8, &TForm8::timetableSaved, form1, [form1] { ErrorReporter::guarded([&] { form1->TimetableSaved(); }); });
    TForm5 *form5 = m_form5;
    QObject::connect(form1, &TForm1::alarmsRequested, form5, [form5] { showWithoutWaiting(form5); });
    wireApplications();
    // The functions of the "Extras" menu and tab; they live as long as the main window.
    auto *calendar = new CalendarExtras(form1);
    calendar->install(form1->extrasMenu(), form8->extrasTab());
    auto *grades = new GradeExtras(form1);
    grades->install(form1->extrasMenu(), form8->tabNoten());
    RecurringExtras::install(form8->extrasTab());
    // A second after the start, so that the first frame does not wait for the
    // stored option; the file follows changes only, and none come earlier.
    QTimer::singleShot(1000, calendar, [calendar] { ErrorReporter::guarded([calendar] { calendar->startFromSettings(); }); });
    // The evening reminder before a school day; it looks at its time after the first frame as well.
    auto *packing = new PackingExtras(form1);
    packing->install(form8->extrasTab(), form1->findChild<TTBNArea *>());
    QTimer::singleShot(1000, packing, [packing] { ErrorReporter::guarded([packing] { packing->startFromSettings(); }); });
    // Light or dark windows; the desktop is asked once the first frame is up.
    auto *appearance = new Appearance(form1);
    appearance->install(form8->extrasTab());
    QTimer::singleShot(100, appearance, [appearance] { ErrorReporter::guarded([appearance] { appearance->start(); }); });
    // The school's calendars: their copies are read and fetched after the first frame.
    auto *schoolCalendar = new SchoolCalendarExtras(form1);
    schoolCalendar->install(form8->extrasTab());
    QTimer::singleShot(1000, schoolCalendar, [schoolCalendar] { ErrorReporter::guarded([schoolCalendar] { schoolCalendar->start(); }); });
    // After a restore every window that shows data reads it anew; the settings
    // window and the alarm list do so on their next showing anyway.
    // The CalDAV synchronisation; its first run waits for the first frame as well.
    auto *sync = new SyncExtras(form1);
    sync->install(form1->extrasMenu(), form8->extrasTab());
    QTimer::singleShot(1000, sync, [sync] { ErrorReporter::guarded([sync] { sync->startFromSettings(); }); });
    auto *backup = new BackupExtras(form1);
    backup->install(form1->extrasMenu(), form8->extrasTab());
    QObject::connect(backup, &BackupExtras::restored, form1, [form1, form5, form8, calendar, packing, sync] {
        ErrorReporter::guarded([form1] { form1->DataReplaced(); });
        if (form8->isVisible())
            ErrorReporter::guarded([form8] { form8->FormShow(); });
        if (form5->isVisible())
            ErrorReporter::guarded([form5] { form5->FormShow(); });
        ErrorReporter::guarded([calendar] { calendar->startFromSettings(); });
        ErrorReporter::guarded([packing] { packing->startFromSettings(); });
        ErrorReporter::guarded([sync] { sync->startFromSettings(); });
    });
}

void Startup::wireApplications()
{
    TForm3 *form3 = m_form3;
    TForm7 *form7 = m_form7;
    QObject::connect(m_form1.get(), &TForm1::defineApplicationRequested, form3,
                     [form3](const QString &subject, const QString &date) {
                         ErrorReporter::guarded([&] { form3->openForHomework(subject, date); });
                     });
    QObject::connect(m_form1.get(), &TForm1::startApplicationRequested, m_form1.get(),
                     [](const QString &subject, const QString &date) {
                         // A program that cannot be started is not reported.
                         ErrorReporter::guarded([&] { Launcher::startHomeworkApplication(subject, date); });
                     });
    QObject::connect(m_form8, &TForm8::standardApplicationRequested, form7, [form7](const QString &subject) {
        ErrorReporter::guarded([&] { form7->openForSubject(subject); });
    });
}

void Startup::finishStartup()
{
    if (ProgramState::StartupScanPending) {
        // Here and not in the main window's preparation: the scan fills and
        // shows the reminder window, which is created after the main window.
        ProgramState::StartupScanPending = false;
        ErrorReporter::guarded([this] { m_form10->ScanDueEvents(); });
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
    // After the first frame: at the first start after the summer holidays, the next school year's holidays.
    QTimer::singleShot(1500, m_form1.get(), [this] { ErrorReporter::guarded([this] { NextSchoolYearOffer::run(m_form1.get()); }); });
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

int Startup::run(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (BackupCommand::isBackupCall(arguments)) {
        QCoreApplication app(argc, argv);
        return BackupCommand::run(QCoreApplication::arguments());
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
    startup.createWindows();
    QApplication::setWindowIcon(startup.mainWindow()->windowIcon());
    startup.finishStartup();
    FirstFrameReport::armFromEnvironment(startup.mainWindow(), [] {
        return "profile-parses=" + std::to_string(ProfileFile::parseCount());
    });
    return app.exec();
}
