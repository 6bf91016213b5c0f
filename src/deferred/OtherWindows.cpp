// The windows after the main window and the module's entry.
#include "OtherWindows.h"

#include "Kalder/TForm9.h"
#include "Options/TForm8.h"
#include "TBNArea/TTBNArea.h"
#include "XPrinter/WeeklyPlanPrinting.h"
#include "almain/TForm5.h"
#include "appearance/Appearance.h"
#include "backup/BackupCommand.h"
#include "backup/BackupExtras.h"
#include "calendar/CalendarExtras.h"
#include "classlist/ClassListExtras.h"
#include "dexec/TForm7.h"
#include "eingabe/TForm2.h"
#include "exec/Launcher.h"
#include "exec/TForm3.h"
#include "grades/GradeExtras.h"
#include "holidays/NextSchoolYearOffer.h"
#include "main2/TForm1.h"
#include "packing/PackingExtras.h"
#include "platform/ErrorReporter.h"
#include "platform/SoundEffectOutput.h"
#include "platform/WindowPlacement.h"
#include "recurring/RecurringExtras.h"
#include "schoolcalendar/SchoolCalendarExtras.h"
#include "sync/SyncExtras.h"
#include "termin/TForm10.h"
#include "timetableimport/CancelledLessonMarker.h"

#include <QTimer>

namespace {
void showWithoutWaiting(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

class Module final : public DeferredModule
{
public:
    std::unique_ptr<DeferredWindows> createWindows(TForm1 &main, TForm10 *reminder, const std::function<void(QWidget *)> &created) override
    {
        return std::make_unique<OtherWindows>(main, reminder, created);
    }
    std::unique_ptr<LoopingSound> openSound(const QString &path) override { return SoundEffectOutput::open(path); }
    void printWeeklyPlans(QWidget *parent, TXPrint &print) override { WeeklyPlanPrinting::print(parent, print); }
    int runBackupCommand(const QStringList &arguments) override { return BackupCommand::run(arguments); }
};
}

extern "C" DeferredModule *kalmora_deferred_module()
{
    static Module module;
    return &module;
}

OtherWindows::OtherWindows(TForm1 &main, TForm10 *reminder, const std::function<void(QWidget *)> &created)
    : m_form1(&main)
{
    m_form2 = create<TForm2>(created);
    m_form3 = create<TForm3>(created);
    m_form5 = create<TForm5>(created);
    m_form7 = create<TForm7>(created);
    m_form8 = create<TForm8>(created);
    // The picker is shared by every window that asks for a date and lives to the end.
    created(&TForm9::instance());
    m_form10 = reminder ? reminder : create<TForm10>(created);
    wireWindows();
}

OtherWindows::~OtherWindows() = default;

template<class Window>
Window *OtherWindows::create(const std::function<void(QWidget *)> &created)
{
    auto window = std::make_unique<Window>();
    Window *raw = window.get();
    m_windows.push_back(std::move(window));
    created(raw);
    return raw;
}

void OtherWindows::takeDueEvents(DueQueue &&queue)
{
    m_form10->TakeScannedEvents(std::move(queue));
}

void OtherWindows::scanDueEvents()
{
    m_form10->ScanDueEvents();
}

void OtherWindows::wireWindows()
{
    TForm1 *form1 = m_form1;
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
    // The lessons the subscriptions cancel, struck through once their copies are read and on every day shown.
    new CancelledLessonMarker(form1, schoolCalendar->service());
    // After a restore every window that shows data reads it anew; the settings
    // window and the alarm list do so on their next showing anyway.
    // The CalDAV synchronisation; its first run waits for the first frame as well.
    auto *sync = new SyncExtras(form1);
    sync->install(form1->extrasMenu(), form8->extrasTab());
    QTimer::singleShot(1000, sync, [sync] { ErrorReporter::guarded([sync] { sync->startFromSettings(); }); });
    // The class's shared task list, run by the same syncs; its group below the sync's.
    ClassListExtras::install(form8->extrasTab());
    auto *backup = new BackupExtras(form1);
    backup->install(form1->extrasMenu(), form8->extrasTab());
    // At the first start after the summer holidays, the next school year's holidays.
    QTimer::singleShot(1500, form1, [form1] { ErrorReporter::guarded([form1] { NextSchoolYearOffer::run(form1); }); });
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

void OtherWindows::wireApplications()
{
    TForm3 *form3 = m_form3;
    TForm7 *form7 = m_form7;
    QObject::connect(m_form1, &TForm1::defineApplicationRequested, form3,
                     [form3](const QString &subject, const QString &date) {
                         ErrorReporter::guarded([&] { form3->openForHomework(subject, date); });
                     });
    QObject::connect(m_form1, &TForm1::startApplicationRequested, m_form1,
                     [](const QString &subject, const QString &date) {
                         // A program that cannot be started is not reported.
                         ErrorReporter::guarded([&] { Launcher::startHomeworkApplication(subject, date); });
                     });
    QObject::connect(m_form8, &TForm8::standardApplicationRequested, form7, [form7](const QString &subject) {
        ErrorReporter::guarded([&] { form7->openForSubject(subject); });
    });
}
