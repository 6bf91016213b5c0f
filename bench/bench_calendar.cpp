// The iCalendar export of the five-year data set: about 2 500 homework items,
// 2 000 events (the recurring ones with two years of occurrences), 200 alarms
// and the holidays. Aim: one export within 100 ms.
//
//   bench_calendar [--benchmark_filter=...]
//
// Times of day are written in the zone of TZ, Europe/Berlin unless set.
#include "FiveYearData.h"

#include "calendar/CalendarExport.h"
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

namespace {

// The whole document from the settings file, as the tool and the file export make it.
void BM_CalendarDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!FiveYearData::write(dir.path()))
        state.SkipWithError("cannot write the data set");
    Clock::setNow(FiveYearData::now());
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray document = CalendarExport::document(FiveYearData::now());
        bytes = document.size();
        benchmark::DoNotOptimize(document.constData());
    }
    state.counters["KiB"] = double(bytes) / 1024;
    setProgramDirectory(QString());
    Clock::reset();
}

}

BENCHMARK(BM_CalendarDocument)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    setenv("TZ", "Europe/Berlin", 0);
    tzset();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
