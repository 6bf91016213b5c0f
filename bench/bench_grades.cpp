// Opening the grade overview on the five-year grade tree (15 subjects, about
// 800 nodes): reading the grade files, filling the table, building the chart
// and painting the window once. Aim: within 50 ms.
//
//   bench_grades [--benchmark_filter=...]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "FiveYearData.h"

#include "grades/GradeOverview.h"
#include "grades/GradeOverviewWindow.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QPixmap>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The five-year data set in a program directory of its own, for as long as a benchmark runs.
struct DataSet
{
    DataSet()
    {
        if (!FiveYearData::write(dir.path()))
            std::fprintf(stderr, "cannot write the data set\n");
    }
    ~DataSet() { setProgramDirectory(QString()); }
    QTemporaryDir dir;
};

// The grade files read and turned into the subjects' lines, without a window.
void BM_ReadOverview(benchmark::State &state)
{
    DataSet data;
    qsizetype subjects = 0;
    for (auto _ : state) {
        const GradeOverview::Loaded loaded = GradeOverview::load();
        if (loaded.failure)
            state.SkipWithError("the grade files do not read");
        subjects = loaded.rows.size();
        benchmark::DoNotOptimize(loaded.rows.constData());
    }
    state.counters["subjects"] = double(subjects);
}

// What the pupil waits for after choosing "Notenübersicht ...": a new window,
// read, filled and shown with its chart, painted once.
void BM_OpenOverviewWindow(benchmark::State &state)
{
    DataSet data;
    for (auto _ : state) {
        GradeOverviewWindow window;
        window.open();
        const QPixmap frame = window.grab();
        benchmark::DoNotOptimize(frame.cacheKey());
    }
}

// Reading anew in a window that is already open, as after a save on the grades tab.
void BM_ReloadOpenWindow(benchmark::State &state)
{
    DataSet data;
    GradeOverviewWindow window;
    window.open();
    for (auto _ : state) {
        window.LoadOverview();
        const QPixmap frame = window.grab();
        benchmark::DoNotOptimize(frame.cacheKey());
    }
}

// The offscreen platform's notes about raising windows would bury the table.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || message.contains(QLatin1String("does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

}

BENCHMARK(BM_ReadOverview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenOverviewWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReloadOpenWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    Prompt::setUnattended(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
