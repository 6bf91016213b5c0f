// Start-up of the planner on five years of data against an empty Qt window:
// wall time from spawning to the end after the first frame, the resident
// memory at that frame, and how often the settings file is opened.
//
//   bench_startup [--runs N] [--packing-on]   (also: the evening reminder on)
//   bench_startup [--runs N] --school-calendars (also: three school calendar subscriptions with their copies)
//   bench_startup [--runs N] [--snapshots]    (also: each start the first of its day, taking the daily snapshot)
//   bench_startup [--runs N] [--portal]       (also: a desktop portal on the session bus that prefers dark)
//   bench_startup --write DIR   (only writes the data set into DIR, for
//                               running or profiling the program by hand)
//
// Each run spawns the program with KALMORA_EXIT_AFTER_SHOW=1, which prints
// "first-frame-ms=... rss-kb=... profile-parses=..." at the main window's first paint and ends
// the process there. The data set is restored before every run, so each run
// prunes the same past due dates.
#include "FiveYearData.h"

#include "backup/Snapshots.h"
#include "platform/Clock.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramDirectory.h"
#include "schoolcalendar/SchoolCalendar.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

struct Sample
{
    double wallMs = 0;
    double firstFrameMs = 0;
    long rssKb = 0;
    long profileParses = 0;
};

struct Series
{
    QString label;
    std::vector<Sample> samples;
    int failures = 0;
    QString lastError;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Field>
std::vector<double> column(const Series &series, Field field)
{
    std::vector<double> values;
    for (const Sample &s : series.samples)
        values.push_back(double(s.*field));
    return values;
}

// A private session bus with the desktop portal (its GTK backend on its own X
// server) preferring dark, as a GNOME desktop offers it; ended with the benchmark.
class PortalSession final
{
public:
    ~PortalSession()
    {
        for (auto it = m_servers.rbegin(); it != m_servers.rend(); ++it) {
            (*it)->kill();
            (*it)->waitForFinished(3000);
        }
    }

    /// The bus address, or an empty text when a part did not start.
    QString start(const QString &folder)
    {
        QDir(folder).mkpath(QStringLiteral("run"));
        QFile::setPermissions(folder + QStringLiteral("/run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder + QStringLiteral("/run"));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
        m_env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        m_env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
        QFile config(folder + QStringLiteral("/bus.conf"));
        if (!config.open(QIODevice::WriteOnly))
            return {};
        config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                    "<policy context=\"default\"><allow send_destination=\"*\"/><allow own=\"*\"/></policy></busconfig>")
                         .arg(folder)
                         .toUtf8());
        config.close();
        const QString address = firstLine(serve(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config.fileName(),
                                                                                QStringLiteral("--nofork"), QStringLiteral("--print-address=1")}));
        const QString display = firstLine(serve(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp")}));
        if (address.isEmpty() || display.isEmpty())
            return {};
        m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        m_env.insert(QStringLiteral("DISPLAY"), u':' + display);
        QProcess gsettings;
        gsettings.setProcessEnvironment(m_env);
        gsettings.start(QStringLiteral("gsettings"), {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.interface"),
                                                      QStringLiteral("color-scheme"), QStringLiteral("prefer-dark")});
        gsettings.waitForFinished(5000);
        serve(QStringLiteral("/usr/libexec/xdg-desktop-portal-gtk"), {});
        QThread::msleep(1000);
        serve(QStringLiteral("/usr/libexec/xdg-desktop-portal"), {});
        QThread::msleep(1500);
        return address;
    }

private:
    QProcess *serve(const QString &program, const QStringList &arguments)
    {
        auto *process = new QProcess;
        m_servers.emplace_back(process);
        process->setProcessEnvironment(m_env);
        process->start(program, arguments);
        process->waitForStarted(5000);
        return process;
    }
    static QString firstLine(QProcess *process)
    {
        return process->waitForReadyRead(10000) ? QString::fromLocal8Bit(process->readLine()).trimmed() : QString();
    }

    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<QProcess>> m_servers;
};

QProcessEnvironment environmentFor(const QString &programDir, const QString &configDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KALMORA_DIR"), programDir);
    env.insert(QStringLiteral("KALMORA_NOW"), FiveYearData::nowText());
    env.insert(QStringLiteral("KALMORA_EXIT_AFTER_SHOW"), QStringLiteral("1"));
    // The autostart entry and any other per-user setting stay out of the real home.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir);
    return env;
}

// Spawns `program` and waits for its end; false with `error` set when it did
// not report its first frame within the time limit.
bool runOnce(const QString &program, const QStringList &arguments, const QProcessEnvironment &env, Sample &sample, QString &error)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        error = QStringLiteral("cannot start %1").arg(program);
        return false;
    }
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        error = QStringLiteral("%1 did not end within 30 s (a modal dialog at start?)").arg(program);
        return false;
    }
    sample.wallMs = double(timer.nsecsElapsed()) / 1e6;
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    static const QRegularExpression report(QStringLiteral("first-frame-ms=([0-9.]+) rss-kb=([0-9]+)(?: profile-parses=([0-9]+))?"));
    const QRegularExpressionMatch match = report.match(out);
    if (!match.hasMatch()) {
        error = QStringLiteral("no first-frame report; exit %1, stderr: %2")
                    .arg(process.exitCode())
                    .arg(QString::fromLocal8Bit(process.readAllStandardError()).left(400));
        return false;
    }
    sample.firstFrameMs = match.captured(1).toDouble();
    sample.rssKb = match.captured(2).toLong();
    sample.profileParses = match.captured(3).toLong();
    return true;
}

class DataSnapshot final
{
public:
    explicit DataSnapshot(const QString &dir)
        : m_dir(dir)
    {
        for (const QString &name : QDir(dir).entryList(QDir::Files))
            m_files.insert(name, readAll(dir + name));
    }
    // Puts every file back as it was and removes files the program added.
    void restore() const
    {
        for (const QString &name : QDir(m_dir).entryList(QDir::Files)) {
            if (!m_files.contains(name))
                QFile::remove(m_dir + name);
        }
        for (auto it = m_files.begin(); it != m_files.end(); ++it) {
            QFile file(m_dir + it.key());
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                file.write(it.value());
        }
    }
    QByteArray original(const QString &name) const { return m_files.value(name); }
    QStringList names() const { return m_files.keys(); }
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString m_dir;
    QHash<QString, QByteArray> m_files;
};

// What the program may change at start: it prunes the due dates up to today
// and rewrites "Dates" in date order. Everything else must read as before.
QStringList changesBeyondPruning(const DataSnapshot &snapshot, const QString &dir)
{
    QStringList faults;
    const QDate today = FiveYearData::now().date();
    const auto dateOf = [](const QString &text) { return QDate::fromString(text, QStringLiteral("dd.MM.yyyy")); };
    for (const QString &name : snapshot.names()) {
        const QByteArray now = DataSnapshot::readAll(dir + name);
        if (name.compare(u"DEZUVEDIRED.INI", Qt::CaseInsensitive) != 0) {
            if (now != snapshot.original(name))
                faults.append(name + QStringLiteral(" changed"));
            continue;
        }
        const ProfileFile before = ProfileFile::fromBytes(snapshot.original(name));
        const ProfileFile after = ProfileFile::fromBytes(now);
        QStringList keptDates;
        for (const QString &section : before.sections()) {
            const QDate date = dateOf(section);
            if (date.isValid() && date <= today) {
                if (after.hasSection(section))
                    faults.append(QStringLiteral("[%1] not pruned").arg(section));
                continue;
            }
            if (section == u"Dates") {
                for (const QString &key : before.keys(section)) {
                    if (dateOf(key) > today)
                        keptDates.append(key);
                }
                std::stable_sort(keptDates.begin(), keptDates.end(), [&](const QString &a, const QString &b) { return dateOf(a) < dateOf(b); });
                if (after.keys(section) != keptDates)
                    faults.append(QStringLiteral("[Dates] is not the future dates in date order"));
                continue;
            }
            if (before.keys(section) != after.keys(section) || before.entries(section) != after.entries(section))
                faults.append(QStringLiteral("[%1] changed").arg(section));
        }
        for (const QString &section : after.sections()) {
            if (!before.hasSection(section))
                faults.append(QStringLiteral("[%1] added").arg(section));
        }
    }
    return faults;
}

struct OpenCount
{
    bool available = false;
    int settingsReads = 0;
    int settingsWrites = 0;
    int directoryListings = 0;
    int gradeReads = 0;
    int catalogueReads = 0;
    QString error;
};

// Runs the program once under strace and counts the openat calls on the data files.
OpenCount countOpens(const QString &program, const QProcessEnvironment &env, const QString &dataDir, const QString &traceFile)
{
    OpenCount count;
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty()) {
        count.error = QStringLiteral("strace not found");
        return count;
    }
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-e"), QStringLiteral("trace=openat,open"),
                           QStringLiteral("-o"), traceFile, program});
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(5000);
        count.error = QStringLiteral("the traced run did not end");
        return count;
    }
    QFile trace(traceFile);
    if (!trace.open(QIODevice::ReadOnly | QIODevice::Text)) {
        count.error = QStringLiteral("no trace written (ptrace not permitted?)");
        return count;
    }
    count.available = true;
    QString dir = dataDir;
    if (dir.endsWith(u'/'))
        dir.chop(1);
    const QByteArray settingsPath = (dir + QStringLiteral("/DEZUVEDIRED.INI\"")).toUtf8();
    const QByteArray dirPath = ('"' + dir + '"').toUtf8();
    const QByteArray dirPathSlash = ('"' + dir + QStringLiteral("/\"")).toUtf8();
    while (!trace.atEnd()) {
        const QByteArray line = trace.readLine();
        if (line.contains("= -1"))
            continue; // a failed open reads nothing
        const bool writing = line.contains("O_WRONLY") || line.contains("O_RDWR");
        if (line.contains(settingsPath))
            ++(writing ? count.settingsWrites : count.settingsReads);
        else if (line.contains("DEZUVEDIRED.INI.") && writing)
            ++count.settingsWrites; // the temporary file of an atomic replacement
        else if ((line.contains(dirPath) || line.contains(dirPathSlash)) && line.contains("O_DIRECTORY"))
            ++count.directoryListings;
        else if ((line.contains("/NOTEN.DAT\"") || line.contains("/NOTEN.NOT\"")) && !writing)
            ++count.gradeReads;
        else if (line.contains("/inet.txt\"") && !writing)
            ++count.catalogueReads;
    }
    return count;
}

void printSeries(const Series &series)
{
    if (series.samples.empty()) {
        std::printf("%-34s no successful run (%d failed): %s\n", qPrintable(series.label), series.failures, qPrintable(series.lastError));
        return;
    }
    const std::vector<double> wall = column(series, &Sample::wallMs);
    std::printf("%-34s wall median %7.1f ms  min %7.1f ms  first frame median %7.1f ms  RSS median %6.1f MB  (%zu runs",
                qPrintable(series.label), median(wall), *std::min_element(wall.begin(), wall.end()),
                median(column(series, &Sample::firstFrameMs)), median(column(series, &Sample::rssKb)) / 1024.0,
                series.samples.size());
    if (series.failures)
        std::printf(", %d failed: %s", series.failures, qPrintable(series.lastError));
    std::printf(")\n");
}

double medianWall(const Series &series)
{
    return median(column(series, &Sample::wallMs));
}

}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 10;
    QString writeOnly;
    // --rules: also the data set with 20 rules of recurring homework, whose
    // homework the start enters on the next lessons; with --write, writes them too.
    bool rulesOn = false;
    bool packingOn = false; // --packing-on: also the data set with the evening reminder on
    bool schoolOn = false; // --school-calendars: also the data set with three subscriptions
    bool snapshotsOn = false; // --snapshots: also every start as the first of its day
    QString baseline; // --baseline EXE: also another build of the program, on the same data
    bool portalOn = false; // --portal: also the data set with a desktop portal preferring dark
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--runs" && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else if (args[i] == u"--write" && i + 1 < args.size()) {
            writeOnly = args[++i];
        } else if (args[i] == u"--baseline" && i + 1 < args.size()) {
            baseline = args[++i];
        } else if (args[i] == u"--rules") {
            rulesOn = true;
        } else if (args[i] == u"--packing-on") {
            packingOn = true;
        } else if (args[i] == u"--school-calendars") {
            schoolOn = true;
        } else if (args[i] == u"--snapshots") {
            snapshotsOn = true;
        } else if (args[i] == u"--portal") {
            portalOn = true;
        } else {
            std::fprintf(stderr, "usage: bench_startup [--runs N] [--packing-on] [--school-calendars] [--rules] [--snapshots] [--portal] [--baseline EXE] | --write DIR [--rules]\n");
            return 2;
        }
    }
    if (!writeOnly.isEmpty()) {
        if (!FiveYearData::write(writeOnly, 1, QStringLiteral(KALMORA_PROGRAM_DIR)))
            return 1;
        if (rulesOn && !FiveYearData::writeRecurringRules())
            return 1;
        std::printf("KALMORA_DIR=%s KALMORA_NOW=%s %s\n", qPrintable(ProgramDirectory()), qPrintable(FiveYearData::nowText()),
                    KALMORA_EXECUTABLE);
        return 0;
    }

    QTemporaryDir work;
    const QString dataDir = work.filePath(QStringLiteral("data")) + u'/';
    const QString emptyDir = work.filePath(QStringLiteral("empty")) + u'/';
    const QString configDir = work.filePath(QStringLiteral("config"));
    QDir().mkpath(emptyDir);
    QDir().mkpath(configDir);
    if (!FiveYearData::write(dataDir, 1, QStringLiteral(KALMORA_PROGRAM_DIR))) {
        std::fprintf(stderr, "cannot write the data set into %s\n", qPrintable(dataDir));
        return 1;
    }
    const QString fault = FiveYearData::verify();
    setProgramDirectory(QString());
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "the data set does not read back as written: %s\n", qPrintable(fault));
        return 1;
    }
    // Today's snapshot exists, as on every start of a day but the first; the
    // program writes it only after the first frame, which a measured run never outlives.
    const auto snapshotTaken = [](const QString &dir) {
        setProgramDirectory(dir);
        Clock::setNow(QDateTime::fromString(FiveYearData::nowText(), Qt::ISODate));
        Snapshots::takeDailyIfDue();
        setProgramDirectory(QString());
    };
    snapshotTaken(dataDir);
    const DataSnapshot snapshot(dataDir);
    const FiveYearData::Counts counts = FiveYearData::counts();
    std::printf("data set: %d due dates (%d up to today), %d homework, %d events (%d queued at start), %d alarms, "
                "%d grade nodes, %d topics; settings file %.0f KiB; now %s\n",
                counts.dueDates, counts.pastDueDates, counts.homework, counts.events, counts.dueEvents, counts.alarms,
                counts.gradeNodes, counts.topics, double(snapshot.original(QStringLiteral("DEZUVEDIRED.INI")).size()) / 1024.0,
                qPrintable(FiveYearData::nowText()));

    const QString program = QStringLiteral(KALMORA_EXECUTABLE);
    const QString empty = QStringLiteral(EMPTY_WINDOW_EXECUTABLE);
    const QProcessEnvironment dataEnv = environmentFor(dataDir, configDir);
    const QProcessEnvironment emptyEnv = environmentFor(emptyDir, configDir);
    // The same data with the rules of recurring homework, written through their store.
    const QString rulesDir = work.filePath(QStringLiteral("rules")) + u'/';
    QDir().mkpath(rulesDir);
    if (rulesOn) {
        for (const QString &name : snapshot.names()) {
            QFile file(rulesDir + name);
            if (file.open(QIODevice::WriteOnly))
                file.write(snapshot.original(name));
        }
        setProgramDirectory(rulesDir);
        const bool written = FiveYearData::writeRecurringRules();
        setProgramDirectory(QString());
        if (!written) {
            std::fprintf(stderr, "cannot write the rules into %s\n", qPrintable(rulesDir));
            return 1;
        }
    }
    snapshotTaken(rulesDir);
    const DataSnapshot rulesSnapshot(rulesDir);
    const QProcessEnvironment rulesEnv = environmentFor(rulesDir, configDir);
    Series withRules{QStringLiteral("kalmora, five-year data, 20 rules"), {}, 0, {}};
    // The same data with the evening reminder on and its time passed (8:00), so that it is due at start.
    const QString packingDir = work.filePath(QStringLiteral("packing")) + u'/';
    QDir().mkpath(packingDir);
    if (packingOn) {
        for (const QString &name : snapshot.names()) {
            QFile file(packingDir + name);
            if (file.open(QIODevice::WriteOnly))
                file.write(snapshot.original(name)
                           + (name == u"DEZUVEDIRED.INI" ? QByteArray("[RANZEN]\r\nAktiv=1\r\nUhrzeit=08:00\r\n") : QByteArray()));
        }
    }
    snapshotTaken(packingDir);
    const DataSnapshot packingSnapshot(packingDir);
    const QProcessEnvironment packingEnv = environmentFor(packingDir, configDir);
    Series withPacking{QStringLiteral("kalmora, five-year data, reminder on"), {}, 0, {}};
    // The same data with three subscriptions of the school and a copy of each, as after a refresh.
    const QString schoolDir = work.filePath(QStringLiteral("school")) + u'/';
    QDir().mkpath(schoolDir);
    if (schoolOn) {
        QByteArray section = "[SCHULKALENDER]\r\n";
        for (int n = 1; n <= 3; ++n) {
            const QString address = QStringLiteral("https://schule.example/kalender%1.ics").arg(n);
            section += QStringLiteral("Name%1=Kalender %1\r\nAdresse%1=%2\r\n").arg(n).arg(address).toLatin1();
            setProgramDirectory(schoolDir);
            QByteArray feed = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
            for (int i = 0; i < 300; ++i)
                feed += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) + "\r\nDTSTART:20261" + QByteArray::number(100 + i % 30 + 1).right(3)
                        + "T080000\r\nRRULE:FREQ=WEEKLY;COUNT=30\r\nSUMMARY:Termin\r\nEND:VEVENT\r\n";
            SchoolCalendar::writeCopy(address, {feed + "END:VCALENDAR\r\n", {}, {}, FiveYearData::now()});
            setProgramDirectory(QString());
        }
        for (const QString &name : snapshot.names()) {
            QFile file(schoolDir + name);
            if (file.open(QIODevice::WriteOnly))
                file.write(snapshot.original(name) + (name == u"DEZUVEDIRED.INI" ? section : QByteArray()));
        }
    }
    snapshotTaken(schoolDir);
    const DataSnapshot schoolSnapshot(schoolDir);
    const QProcessEnvironment schoolEnv = environmentFor(schoolDir, configDir);
    Series withSchool{QStringLiteral("kalmora, five-year data, 3 school calendars"), {}, 0, {}};
    // The same data where every start is the first of its day: the snapshot folder is removed before each.
    const QString firstDir = work.filePath(QStringLiteral("first")) + u'/';
    QDir().mkpath(firstDir);
    if (snapshotsOn) {
        for (const QString &name : snapshot.names()) {
            QFile file(firstDir + name);
            if (file.open(QIODevice::WriteOnly))
                file.write(snapshot.original(name));
        }
    }
    const DataSnapshot firstSnapshot(firstDir);
    const QProcessEnvironment firstEnv = environmentFor(firstDir, configDir);
    Series firstOfDay{QStringLiteral("kalmora, five-year data, snapshot"), {}, 0, {}};
    // The same data set with the portal on the session bus; its answer comes after the first frame.
    PortalSession portal;
    QProcessEnvironment portalEnv = dataEnv;
    if (portalOn) {
        const QString address = portal.start(work.filePath(QStringLiteral("portal")));
        if (address.isEmpty()) {
            std::fprintf(stderr, "the desktop portal did not start (dbus-daemon, Xvfb, xdg-desktop-portal-gtk)\n");
            return 1;
        }
        portalEnv.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    }
    Series withPortal{QStringLiteral("kalmora, five-year data, portal present"), {}, 0, {}};
    std::printf("QT_QPA_PLATFORM=%s, %d runs each, alternating\n", qPrintable(dataEnv.value(QStringLiteral("QT_QPA_PLATFORM"))), runs);

    Series withData{QStringLiteral("kalmora, five-year data"), {}, 0, {}};
    Series baselineData{QStringLiteral("baseline build, five-year data"), {}, 0, {}};
    Series baselineEmpty{QStringLiteral("baseline build, empty program directory"), {}, 0, {}};
    Series withoutData{QStringLiteral("kalmora, empty program directory"), {}, 0, {}};
    Series emptyWindow{QStringLiteral("empty window"), {}, 0, {}};
    Series tableWindow{QStringLiteral("window with a text grid"), {}, 0, {}};
    const auto measure = [](Series &series, const QString &exe, const QProcessEnvironment &env, const QStringList &arguments = {}) {
        Sample sample;
        QString error;
        if (runOnce(exe, arguments, env, sample, error))
            series.samples.push_back(sample);
        else {
            ++series.failures;
            series.lastError = error;
        }
    };
    // One unmeasured round first, so that every measured run finds the libraries in the page cache.
    {
        Series warmUp;
        snapshot.restore();
        measure(warmUp, program, dataEnv);
        measure(warmUp, empty, emptyEnv);
        if (warmUp.failures) {
            std::fprintf(stderr, "warm-up failed: %s\n", qPrintable(warmUp.lastError));
            return 1;
        }
    }
    for (int run = 0; run < runs; ++run) {
        snapshot.restore();
        measure(withData, program, dataEnv);
        if (!baseline.isEmpty()) {
            snapshot.restore();
            measure(baselineData, baseline, dataEnv);
        }
        if (rulesOn) {
            rulesSnapshot.restore();
            measure(withRules, program, rulesEnv);
        }
        if (packingOn) {
            packingSnapshot.restore();
            measure(withPacking, program, packingEnv);
        }
        if (portalOn) {
            snapshot.restore();
            measure(withPortal, program, portalEnv);
        }
        if (schoolOn) {
            schoolSnapshot.restore();
            measure(withSchool, program, schoolEnv);
        }
        if (snapshotsOn) {
            firstSnapshot.restore();
            QDir(firstDir + QStringLiteral("Sicherungen")).removeRecursively();
            measure(firstOfDay, program, firstEnv);
        }
        measure(emptyWindow, empty, emptyEnv);
        measure(tableWindow, empty, emptyEnv, {QStringLiteral("--table")});
        for (const QString &name : QDir(emptyDir).entryList(QDir::Files))
            QFile::remove(emptyDir + name);
        measure(withoutData, program, emptyEnv);
        if (!baseline.isEmpty()) {
            for (const QString &name : QDir(emptyDir).entryList(QDir::Files))
                QFile::remove(emptyDir + name);
            measure(baselineEmpty, baseline, emptyEnv);
        }
    }
    // The last run's changes stay for the check below.
    printSeries(withData);
    if (!baseline.isEmpty() && !baselineData.samples.empty() && !baselineEmpty.samples.empty() && !withData.samples.empty()
        && !withoutData.samples.empty()) {
        printSeries(baselineData);
        printSeries(baselineEmpty);
        std::printf("this build / baseline (median wall): five-year data %.3f, empty program directory %.3f\n",
                    medianWall(withData) / medianWall(baselineData), medianWall(withoutData) / medianWall(baselineEmpty));
    }
    if (rulesOn && !withRules.samples.empty() && !withData.samples.empty()) {
        printSeries(withRules);
        std::printf("20 rules / no rules (median wall): %.3f (%+.1f ms; target at most 1.100)\n", medianWall(withRules) / medianWall(withData),
                    medianWall(withRules) - medianWall(withData));
        // What the rules entered at the last start: homework that the data set did not hold.
        const ProfileFile before = ProfileFile::fromBytes(rulesSnapshot.original(QStringLiteral("DEZUVEDIRED.INI")));
        const ProfileFile after = ProfileFile::fromBytes(DataSnapshot::readAll(rulesDir + QStringLiteral("DEZUVEDIRED.INI")));
        int entered = 0;
        for (const QString &date : after.keys(QStringLiteral("Dates"))) {
            for (const QString &key : after.keys(date))
                entered += !key.endsWith(u'2') && !key.contains(QStringLiteral("Exec"))
                           && before.readString(date, key, QStringLiteral("\x01")) == u"\x01" ? 1 : 0;
        }
        std::printf("homework the rules entered at each start: %d\n", entered);
    }
    if (packingOn && !withPacking.samples.empty() && !withData.samples.empty()) {
        printSeries(withPacking);
        std::printf("reminder on / off (median wall): %.3f\n", medianWall(withPacking) / medianWall(withData));
    }
    if (portalOn && !withPortal.samples.empty() && !withData.samples.empty()) {
        printSeries(withPortal);
        std::printf("portal present / absent (median wall): %.3f (target at most 1.030)\n", medianWall(withPortal) / medianWall(withData));
    }
    if (schoolOn && !withSchool.samples.empty() && !withData.samples.empty()) {
        printSeries(withSchool);
        std::printf("3 school calendars / none (median wall): %.3f (target at most 1.030: they are read after the first frame)\n",
                    medianWall(withSchool) / medianWall(withData));
    }
    if (snapshotsOn && !firstOfDay.samples.empty() && !withData.samples.empty()) {
        printSeries(firstOfDay);
        std::printf("first start of a day / later start (median wall): %.3f (%+.1f ms; target at most 1.100)\n",
                    medianWall(firstOfDay) / medianWall(withData), medianWall(firstOfDay) - medianWall(withData));
        std::printf("first start of a day / later start (median first frame): %.3f\n",
                    median(column(firstOfDay, &Sample::firstFrameMs)) / median(column(withData, &Sample::firstFrameMs)));
        // The writing itself, which the program does on a thread after the first frame.
        firstSnapshot.restore();
        std::vector<double> writes;
        setProgramDirectory(firstDir);
        for (int run = 0; run < 5; ++run) {
            QDir(firstDir + QStringLiteral("Sicherungen")).removeRecursively();
            QElapsedTimer timer;
            timer.start();
            Snapshots::takeDailyIfDue();
            writes.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        setProgramDirectory(QString());
        std::printf("the snapshot itself (read, written and flushed to disk, after the first frame): median %.1f ms\n", median(writes));
    }
    printSeries(withoutData);
    printSeries(emptyWindow);
    printSeries(tableWindow);
    if (!withData.samples.empty() && !emptyWindow.samples.empty()) {
        std::printf("ratio program/empty window (median wall): %.2f with data, %.2f without data (targets at most 2.0 and 1.5)\n",
                    medianWall(withData) / medianWall(emptyWindow),
                    withoutData.samples.empty() ? 0.0 : medianWall(withoutData) / medianWall(emptyWindow));
        if (!tableWindow.samples.empty())
            std::printf("ratio program/window with a text grid (median wall): %.2f with data, %.2f without data\n",
                        medianWall(withData) / medianWall(tableWindow),
                        withoutData.samples.empty() ? 0.0 : medianWall(withoutData) / medianWall(tableWindow));
        std::printf("cost of the data (median wall, with minus without): %.1f ms\n", medianWall(withData) - medianWall(withoutData));
        std::printf("RSS at the first frame with data: median %.1f MB (target at most 35 MB)\n",
                    median(column(withData, &Sample::rssKb)) / 1024.0);
        std::printf("settings file parsed before the first frame: %.0f times with data, %.0f without\n",
                    median(column(withData, &Sample::profileParses)),
                    withoutData.samples.empty() ? 0.0 : median(column(withoutData, &Sample::profileParses)));
    }

    const QStringList faults = changesBeyondPruning(snapshot, dataDir);
    std::printf("data directory after the runs: %s\n",
                faults.isEmpty() ? "intact (only the past due dates pruned)" : qPrintable(faults.join(QStringLiteral("; "))));

    snapshot.restore();
    const OpenCount opens = countOpens(program, dataEnv, dataDir, work.filePath(QStringLiteral("trace.txt")));
    if (opens.available) {
        std::printf("openat at start-up (strace): DEZUVEDIRED.INI read %d times, written %d times (target at most 2 opens); "
                    "program directory listed %d times; grade files read %d times; inet.txt read %d times\n",
                    opens.settingsReads, opens.settingsWrites, opens.directoryListings, opens.gradeReads, opens.catalogueReads);
    } else {
        std::printf("openat count not available: %s\n", qPrintable(opens.error));
    }
    return faults.isEmpty() && withData.failures == 0 && emptyWindow.failures == 0 ? 0 : 1;
}
