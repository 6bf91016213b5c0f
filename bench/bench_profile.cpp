// Settings-file operations on a five-year data set, at one, four and sixteen times its size.
#include "main2/HomeworkStore.h"
#include "main2/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/ProgramDirectory.h"
#include "platform/Win1252.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// About 1 000 due dates with homework and 2 000 events with messages per unit of scale.
QByteArray fiveYearFile(int scale)
{
    QString text;
    const QDate start(2022, 1, 1);
    const QStringList subjects = {QStringLiteral("Mathematik"), QStringLiteral("Deutsch"), QStringLiteral("Englisch"), QStringLiteral("Französisch")};
    QStringList dates;
    for (int i = 0; i < 1000 * scale; ++i)
        dates.append(DateText::formatLong(start.addDays(i * 2 / scale)));
    text += QStringLiteral("[Dates]\r\n");
    for (const QString &d : dates)
        text += d + QStringLiteral("=1\r\n");
    for (int i = 0; i < dates.size(); ++i) {
        text += u'[' + dates[i] + QStringLiteral("]\r\n");
        for (int s = 0; s < 1 + i % 2; ++s) {
            const QString &subject = subjects[(i + s) % subjects.size()];
            text += subject + QStringLiteral("=S. %1 Nr. %2-%3\r\n").arg(i % 200).arg(s).arg(s + 7);
            text += subject + QStringLiteral("2=1\r\n") + subject + QStringLiteral("Exec=\r\n");
        }
    }
    const int events = 2000 * scale;
    for (const char *section : {"TERMIN", "WEEKLY", "MONTHLY", "YEARLY"}) {
        text += u'[' + QLatin1String(section) + QStringLiteral("]\r\n");
        for (int e = 0; e < events / 4; ++e)
            text += DateText::formatShort(start.addDays(e)) + QStringLiteral("=Ereignis %1 %2\r\n").arg(QLatin1String(section)).arg(e);
    }
    QString time = QStringLiteral("[TIME]\r\n"), sound = QStringLiteral("[SOUND]\r\n"), memo = QStringLiteral("[MEMO]\r\n");
    for (const char *section : {"TERMIN", "WEEKLY", "MONTHLY", "YEARLY"}) {
        for (int e = 0; e < events / 4; ++e) {
            const QString name = QStringLiteral("Ereignis %1 %2").arg(QLatin1String(section)).arg(e);
            time += name + QStringLiteral("=#8:00\r\n");
            sound += name + QStringLiteral("=DEFAULT.WAV\r\n");
            memo += name + QStringLiteral("#=0\r\n") + name + QStringLiteral("0=Heft mitbringen\r\n");
        }
    }
    text += time + sound + memo;
    return Win1252::encode(text);
}

struct DataSet
{
    explicit DataSet(int scale)
        : bytes(fiveYearFile(scale))
    {
        setProgramDirectory(dir.path());
        Clock::setNow(QDateTime(QDate(2021, 12, 1), QTime(9, 0))); // before every due date: pruning keeps all
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

void BM_ReadOperation(benchmark::State &state)
{
    DataSet data(int(state.range(0)));
    for (auto _ : state) {
        const QString value = SettingsFile::read([](const ProfileFile &ini) {
            return ini.readString(u"MEMO", u"Ereignis YEARLY 3#", QString());
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
        SettingsFile::use([&](ProfileFile &ini) { ini.writeString(u"TIME", u"Ereignis TERMIN 5", QString(QString::number(++n % 24) + QStringLiteral(":00"))); });
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

BENCHMARK(BM_ReadOperation)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteOperation)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PruneHomeworkDates)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
