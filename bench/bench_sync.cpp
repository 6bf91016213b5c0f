// The CalDAV synchronisation of the five-year data set against a local Radicale
// (python3-radicale, started here on 127.0.0.1), or Xandikos with
// KALMORA_BENCH_SERVER=xandikos, or a server already running at the address
// KALMORA_BENCH_URL (with KALMORA_BENCH_USER and KALMORA_BENCH_PASSWORD): the
// first sync, which writes every homework and date, and a sync with nothing
// changed, which must take at most 2 requests. Reports wall time and the HTTP
// requests.
//
//   [KALMORA_BENCH_SERVER=xandikos] bench_sync [--benchmark_filter=...]
#include "FiveYearData.h"

#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"
#include "sync/HomeworkStoreSource.h"
#include "sync/SyncEngine.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

namespace {

struct Server
{
    QTemporaryDir storage;
    QProcess process;
    quint16 port = 0;
    int collections = 0;
    QString address = qEnvironmentVariable("KALMORA_BENCH_URL");
    QString user = qEnvironmentVariable("KALMORA_BENCH_USER", QStringLiteral("schueler"));
    QString password = qEnvironmentVariable("KALMORA_BENCH_PASSWORD", QStringLiteral("x"));

    bool start()
    {
        if (!address.isEmpty())
            return true;
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return false;
        port = probe.serverPort();
        probe.close();
        if (qEnvironmentVariable("KALMORA_BENCH_SERVER") == u"xandikos")
            process.start(QStringLiteral("/usr/bin/xandikos"),
                          {"-d", storage.path(), "--defaults", "-l", "127.0.0.1", "-p", QString::number(port)});
        else
            process.start(QStringLiteral("/usr/bin/python3"),
                          {"-m", "radicale", "--server-hosts", QStringLiteral("127.0.0.1:%1").arg(port), "--auth-type", "none",
                           "--storage-filesystem-folder", storage.path()});
        for (int i = 0; i < 100; ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (socket.waitForConnected(100)) {
                address = QStringLiteral("http://127.0.0.1:%1/").arg(port);
                return true;
            }
            QThread::msleep(100);
        }
        return false;
    }
    ~Server()
    {
        process.kill();
        process.waitForFinished();
    }
    // Fresh collections for one run.
    SyncSettings::Options account()
    {
        CalDavClient client({address, user, password});
        const QUrl home = client.discoverHome();
        // Apart from those of earlier runs against the same server.
        const QString n = QString::number(QDateTime::currentMSecsSinceEpoch()) + u'-' + QString::number(++collections);
        return {true, address, user, client.makeCalendar(home, "aufgaben" + n, "Aufgaben", true).toString(),
                client.makeCalendar(home, "termine" + n, "Termine", false).toString()};
    }
};

Server *server()
{
    static Server running;
    static const bool started = running.start();
    return started ? &running : nullptr;
}

int syncOnce(const SyncSettings::Options &options)
{
    CalDavClient client({options.server, options.user, server()->password});
    HomeworkStoreSource homework;
    SyncEngine(client, homework).run(options);
    return client.requestCount();
}

void BM_FirstSync(benchmark::State &state)
{
    Server *local = server();
    if (!local)
        return state.SkipWithError("the server did not start");
    int requests = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        FiveYearData::write(dir.path());
        Clock::setNow(FiveYearData::now());
        const SyncSettings::Options options = local->account();
        state.ResumeTiming();
        requests = syncOnce(options);
    }
    state.counters["requests"] = requests;
    setProgramDirectory(QString());
}

void BM_UnchangedSync(benchmark::State &state)
{
    Server *local = server();
    if (!local)
        return state.SkipWithError("the server did not start");
    QTemporaryDir dir;
    FiveYearData::write(dir.path());
    Clock::setNow(FiveYearData::now());
    const SyncSettings::Options options = local->account();
    syncOnce(options);
    syncOnce(options); // the first sync's own writes, seen once
    int requests = 0;
    for (auto _ : state)
        requests = syncOnce(options);
    state.counters["requests"] = requests;
    if (requests > 2)
        state.SkipWithError("a sync with nothing changed took more than 2 requests");
    setProgramDirectory(QString());
}

}

BENCHMARK(BM_FirstSync)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_UnchangedSync)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    setenv("TZ", "Europe/Berlin", 0);
    tzset();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
