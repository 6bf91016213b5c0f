// Settings-file operations on a five-year data set, at one, four and sixteen times its size.
//
//   bench_profile [--benchmark_filter=...]
#include "FiveYearData.h"

#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct DataSet
{
    explicit DataSet(int scale)
        : bytes(FiveYearData::settingsFile(scale))
    {
        setProgramDirectory(dir.path());
        Clock::setNow(FiveYearData::now().addMonths(-1)); // before every due date: pruning keeps all
        restore();
    }
    ~DataSet() { setProgramDirectory(QString()); }
    void restore() const
    {
        QFile file(SettingsFile::path());
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QTemporaryDir dir;
    QByteArray bytes;
};

// One read of a file that changed since the last one: read, parse, look up.
void BM_ReadChangedFile(benchmark::State &state)
{
    DataSet data(int(state.range(0)));
    for (auto _ : state) {
        const ProfileFile ini(SettingsFile::path());
        benchmark::DoNotOptimize(ini.readString(u"MEMO", u"Jahr Nr. 3 Bücherei#", QString()));
    }
    state.counters["KiB"] = double(data.bytes.size()) / 1024;
}

// One read of the unchanged file, as the start-up and the windows make dozens of.
void BM_ReadOperation(benchmark::State &state)
{
    DataSet data(int(state.range(0)));
    for (auto _ : state) {
        const QString value = SettingsFile::read([](const ProfileFile &ini) {
            return ini.readString(u"MEMO", u"Jahr Nr. 3 Bücherei#", QString());
        });
        benchmark::DoNotOptimize(value);
    }
    state.counters["KiB"] = double(data.bytes.size()) / 1024;
}

void BM_WriteOperation(benchmark::State &state)
{
    DataSet data(int(state.range(0)));
    int n = 0;
    for (auto _ : state)
        SettingsFile::use([&](ProfileFile &ini) { ini.writeString(u"TIME", u"Termin Nr. 5 Nachhilfe", QString(QString::number(++n % 24) + QStringLiteral(":00"))); });
    state.counters["KiB"] = double(data.bytes.size()) / 1024;
}

void BM_PruneHomeworkDates(benchmark::State &state)
{
    DataSet data(int(state.range(0)));
    for (auto _ : state)
        HomeworkStore::PruneHomeworkDates();
    state.counters["KiB"] = double(data.bytes.size()) / 1024;
}

}

BENCHMARK(BM_ReadChangedFile)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOperation)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteOperation)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PruneHomeworkDates)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
