// What a pupil does in the windows, on five years of data: every benchmark
// starts from the data set as written and from freshly created windows, then
// repeats one action through the controls (mouse clicks on the named widgets)
// and lets the window paint the result.
//
//   bench_actions [--benchmark_filter=...]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "FiveYearData.h"

#include "Options/TForm8.h"
#include "XPrinter/WeeklyPlan.h"
#include "almain/TForm5.h"
#include "eingabe/TForm2.h"
#include "model/HomeworkStore.h"
#include "main2/Startup.h"
#include "main2/TForm1.h"
#include "platform/Clock.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "platform/WavePlayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The data set in a temporary program directory, with its files kept for restoring.
class DataSet final
{
public:
    DataSet()
    {
        if (!FiveYearData::write(m_dir.path()))
            qFatal("cannot write the data set into %s", qPrintable(m_dir.path()));
        const QString fault = FiveYearData::verify();
        if (!fault.isEmpty())
            qFatal("the data set does not read back as written: %s", qPrintable(fault));
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
            m_files.insert(name, read(name));
    }

    void restore() const
    {
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files)) {
            if (!m_files.contains(name))
                QFile::remove(m_dir.filePath(name));
        }
        for (auto it = m_files.begin(); it != m_files.end(); ++it) {
            QFile file(m_dir.filePath(it.key()));
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(it.value()) != it.value().size())
                qFatal("cannot restore %s", qPrintable(it.key()));
        }
        Clock::setNow(FiveYearData::now());
    }

private:
    QByteArray read(const QString &name) const
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QHash<QString, QByteArray> m_files;
};

DataSet *data = nullptr;

template <typename T>
T *control(const QObject &window, const QString &name)
{
    auto *found = window.findChild<T *>(name);
    if (!found)
        qFatal("%s has no control %s", qPrintable(window.objectName()), qPrintable(name));
    return found;
}

void clickItem(QListWidget *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void clickCell(QTableWidget *grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, column)).center());
}

void click(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Layout and paint of whatever the action changed.
void settle()
{
    QCoreApplication::processEvents();
}

// The program as it stands after start-up on the restored data set: every
// window created, the checks run, the main window shown.
class Session final
{
public:
    Session()
    {
        data->restore();
        m_startup.setTrayAvailable([] { return true; });
        m_startup.createWindows();
        m_startup.finishStartup();
        form1 = m_startup.mainWindow();
        if (!QTest::qWaitForWindowExposed(form1))
            qFatal("the main window is not shown");
        settle();
        Prompt::takeAsked();
    }
    ~Session()
    {
        // A question asked during the run means an action failed and was reported.
        const QList<Prompt::Question> asked = Prompt::takeAsked();
        for (const Prompt::Question &q : asked)
            std::fprintf(stderr, "reported during the benchmark: %s\n", qPrintable(q.text));
    }

    QListWidget *list(int number) const { return control<QListWidget>(*form1, QStringLiteral("ListBox%1").arg(number)); }
    QWidget *button(const QString &name) const { return control<QWidget>(*form1, name); }
    template <typename T>
    T *topLevel(const QString &name) const
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name)
                return static_cast<T *>(widget);
        }
        qFatal("no window %s", qPrintable(name));
    }

    TForm1 *form1 = nullptr;

private:
    Startup m_startup;
};

// The whole start-up sequence in process: windows created, pruning, panels,
// alarm check, due-event scan, holiday decision, first showing.
void BM_StartupSequence(benchmark::State &state)
{
    quint64 parses = 0;
    for (auto _ : state) {
        state.PauseTiming();
        data->restore();
        const quint64 parsesBefore = ProfileFile::parseCount();
        state.ResumeTiming();
        {
            Startup startup;
            startup.setTrayAvailable([] { return true; });
            startup.createWindows();
            startup.finishStartup();
            settle();
            state.PauseTiming();
            parses = ProfileFile::parseCount() - parsesBefore;
        }
        Prompt::takeAsked();
        state.ResumeTiming();
    }
    // How often one start-up parsed the settings file (no other profile file is
    // read then). From the second run on, the reads after pruning find the
    // pruned file of the run before already parsed; a fresh process parses it
    // once more.
    state.counters["settings_parses"] = double(parses);
}

// Times showing `window` by a click on `button`; hides it again untimed.
void timeOpening(benchmark::State &state, QWidget *button, QWidget *window, const char *what)
{
    for (auto _ : state) {
        click(button);
        settle();
        state.PauseTiming();
        if (!window->isVisible())
            qFatal("%s is not shown", what);
        window->hide();
        settle();
        state.ResumeTiming();
    }
}

// "Optionsbox": the settings window, which loads all five tabs on every showing.
void BM_ShowSettingsWindow(benchmark::State &state)
{
    Session session;
    auto *form8 = session.topLevel<TForm8>(QStringLiteral("TForm8"));
    timeOpening(state, session.button(QStringLiteral("SpeedButton10")), form8, "the settings window");
    // All five tabs were loaded from the data set.
    const int events = int(control<QListWidget>(*form8, QStringLiteral("ListBox1"))->count());
    const int subjects = control<QTreeWidget>(*form8, QStringLiteral("TreeView2"))->topLevelItemCount();
    const int research = control<QTreeWidget>(*form8, QStringLiteral("ITreeView1"))->topLevelItemCount();
    if (events == 0 || subjects != 15 || research == 0)
        std::fprintf(stderr, "the settings window did not load its tabs: %d events, %d subjects, %d research nodes\n", events, subjects, research);
    state.counters["listed_events"] = events;
}

// A homework of a day panel clicked: its text is read into the text box.
void BM_SelectHomework(benchmark::State &state)
{
    Session session;
    QListWidget *list = session.list(3); // the third due date has three homework items
    int row = 0;
    for (auto _ : state) {
        clickItem(list, row);
        settle();
        row = (row + 1) % list->count();
    }
    if (control<QPlainTextEdit>(*session.form1, QStringLiteral("Memo1"))->toPlainText().isEmpty())
        std::fprintf(stderr, "selecting a homework showed no text\n");
}

// A further date clicked in the list beside the panels: its homework fills the fourth panel.
void BM_SelectFurtherDate(benchmark::State &state)
{
    Session session;
    QListWidget *list = session.list(5);
    int row = 1;
    for (auto _ : state) {
        clickItem(list, row);
        settle();
        row = row % 40 + 1;
    }
}

// "Folgetag": the timetable grid shows the next school day.
void BM_NextDay(benchmark::State &state)
{
    Session session;
    QWidget *next = session.button(QStringLiteral("Image2"));
    for (auto _ : state) {
        click(next);
        settle();
    }
}

// A subject clicked in the timetable: the homework entry dialog opens with the date of its next lesson.
void BM_OpenHomeworkDialog(benchmark::State &state)
{
    Session session;
    auto *grid = control<QTableWidget>(*session.form1, QStringLiteral("StringGrid1"));
    auto *form2 = session.topLevel<TForm2>(QStringLiteral("TForm2"));
    int row = 1;
    for (auto _ : state) {
        clickCell(grid, row, 1);
        settle();
        state.PauseTiming();
        if (!form2->isVisible())
            qFatal("the entry dialog is not shown");
        form2->hide();
        settle();
        row = row % 10 + 1;
        state.ResumeTiming();
    }
}

// "OK" in the entry dialog: the homework is stored, the dates pruned and the panels refreshed.
void BM_StoreHomework(benchmark::State &state)
{
    Session session;
    auto *grid = control<QTableWidget>(*session.form1, QStringLiteral("StringGrid1"));
    auto *form2 = session.topLevel<TForm2>(QStringLiteral("TForm2"));
    auto *text = control<QLineEdit>(*form2, QStringLiteral("Edit2"));
    QWidget *ok = control<QWidget>(*form2, QStringLiteral("Button1"));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        clickCell(grid, 1 + n % 10, 1);
        text->setText(QStringLiteral("Arbeitsblatt %1 fertig machen").arg(++n));
        settle();
        state.ResumeTiming();
        click(ok);
        settle();
    }
    if (form2->isVisible())
        std::fprintf(stderr, "the entry dialog stayed open: the homework was not stored\n");
}

// "Änderung übernehmen": the edited text of the selected homework is stored.
void BM_SaveChangedText(benchmark::State &state)
{
    Session session;
    clickItem(session.list(2), 1);
    auto *memo = control<QPlainTextEdit>(*session.form1, QStringLiteral("Memo1"));
    QWidget *save = session.button(QStringLiteral("Button1"));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        memo->setPlainText(QStringLiteral("Seite %1\nNummer 3 und 4").arg(++n));
        state.ResumeTiming();
        click(save);
        settle();
    }
}

// "Erledigt" on the selected homework, pressed again and again: the mark goes on and off.
void BM_MarkDone(benchmark::State &state)
{
    Session session;
    clickItem(session.list(2), 0);
    QWidget *done = session.button(QStringLiteral("SpeedButton2"));
    for (auto _ : state) {
        click(done);
        settle();
    }
}

// "Löschen" on the first homework of the first panel: the homework goes, or
// its date when it was the last; the panels are refreshed.
void BM_DeleteHomework(benchmark::State &state)
{
    Session session;
    QListWidget *first = session.list(1);
    QWidget *remove = session.button(QStringLiteral("SpeedButton11"));
    int deleted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (++deleted % 400 == 0) {
            // The data set stays about five years large.
            data->restore();
            session.form1->RefreshDayPanels();
        }
        clickItem(first, 0);
        settle();
        state.ResumeTiming();
        click(remove);
        settle();
    }
}

// The day panels refilled, as after every change that other windows make.
void BM_RefreshDayPanels(benchmark::State &state)
{
    Session session;
    for (auto _ : state) {
        session.form1->RefreshDayPanels();
        session.form1->WidenListBox5();
        settle();
    }
}

// "Ereigniseditor": the alarm list window sorts the alarms and lists them.
void BM_OpenAlarmsWindow(benchmark::State &state)
{
    Session session;
    auto *form5 = session.topLevel<TForm5>(QStringLiteral("TForm5"));
    timeOpening(state, session.button(QStringLiteral("SpeedButton7")), form5, "the alarm list");
}

// "Wochenplan ausdrucken" up to the printer: both print jobs read and laid
// out on A4 (the print dialog and the printer itself are left out).
void BM_LayOutWeeklyPlan(benchmark::State &state)
{
    Session session;
    const QSize a4(2100, 2970); // 0.1 mm
    qsizetype commands = 0;
    for (auto _ : state) {
        commands = 0;
        for (const QStringList &days : WeeklyPlan::PrintJobs())
            commands += WeeklyPlan::LayoutJob(days, a4).size();
        benchmark::DoNotOptimize(commands);
    }
    state.counters["commands"] = double(commands);
}

}

BENCHMARK(BM_StartupSequence)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowSettingsWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectHomework)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectFurtherDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHomeworkDialog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreHomework)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveChangedText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkDone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteHomework)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshDayPanels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAlarmsWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOutWeeklyPlan)->Unit(benchmark::kMillisecond);

namespace {
// The offscreen platform's notes about raising windows and the tray would bury the table.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || message.contains(QLatin1String("does not support raise()"))
        || message.contains(QLatin1String("systemTrayWindowChanged")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}
}

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The autostart entry of the settings window stays out of the real home.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    Prompt::setUnattended(true);
    WavePlayer::setRecording(true); // reminders make no sound
    DataSet dataSet;
    data = &dataSet;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    data = nullptr;
    return 0;
}
