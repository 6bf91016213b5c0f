// Keeping the calendar file current: one debounced rewrite after changes, none while off, a failing file told once.
#include "calendar/CalendarSync.h"
#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "platform/ProfileFile.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

class tst_CalendarSync final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void changesGiveOneLaterRewrite();
    void nothingWhileOff();
    void failingFileToldOnce();
    void pathFromTheHomeFolder();
};

namespace {
constexpr int kInterval = 200;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void addHomework(const QString &subject, const QString &text)
{
    HomeworkStore::addHomework(QStringLiteral("10.12.2026"), subject, text);
}
}

void tst_CalendarSync::changesGiveOneLaterRewrite()
{
    TestEnvironment env;
    const QString ics = env.path(QStringLiteral("plan.ics"));
    CalendarSync sync;
    sync.setInterval(kInterval);
    QSignalSpy written(&sync, &CalendarSync::written);
    QElapsedTimer clock;

    // Switched on, the file is written once, from the event loop and not at once.
    clock.start();
    sync.apply({true, ics});
    QVERIFY(!QFile::exists(ics));
    QTRY_COMPARE(written.size(), 1);
    QVERIFY(clock.elapsed() >= kInterval - 20);
    QVERIFY(readAll(ics).startsWith("BEGIN:VCALENDAR"));

    // Three changes in a row: nothing is written inside any of them...
    clock.restart();
    addHomework(QStringLiteral("Englisch"), QStringLiteral("Vokabeln"));
    QVERIFY(sync.isPending());
    addHomework(QStringLiteral("Physik"), QStringLiteral("Versuch"));
    addHomework(QStringLiteral("Chemie"), QStringLiteral("Tabelle"));
    QCOMPARE(written.size(), 1);
    QVERIFY(!readAll(ics).contains("Vokabeln"));
    // ...and one rewrite after the interval holds all three.
    QTRY_COMPARE(written.size(), 2);
    QVERIFY(clock.elapsed() >= kInterval - 20);
    const QByteArray content = readAll(ics);
    QVERIFY(content.contains("Vokabeln") && content.contains("Versuch") && content.contains("Tabelle"));
    QTest::qWait(2 * kInterval);
    QCOMPARE(written.size(), 2);

    // A save that changes nothing in the file is no change.
    SettingsFile::use([](ProfileFile &ini) { ini.writeString(u"Dates", u"10.12.2026", u"1"); });
    QVERIFY(!sync.isPending());
}

void tst_CalendarSync::nothingWhileOff()
{
    TestEnvironment env;
    const QString ics = env.path(QStringLiteral("plan.ics"));
    CalendarSync sync;
    sync.setInterval(kInterval);
    QSignalSpy written(&sync, &CalendarSync::written);

    // Off from the start.
    sync.apply({false, ics});
    addHomework(QStringLiteral("Englisch"), QStringLiteral("Vokabeln"));
    QVERIFY(!sync.isPending());

    // Switched off while a rewrite waits: it is dropped, and later changes are not followed.
    sync.apply({true, ics});
    sync.apply({false, ics});
    addHomework(QStringLiteral("Physik"), QStringLiteral("Versuch"));
    QTest::qWait(3 * kInterval);
    QCOMPARE(written.size(), 0);
    QVERIFY(!QFile::exists(ics));
}

void tst_CalendarSync::failingFileToldOnce()
{
    TestEnvironment env;
    // The name is taken by a folder, so the file cannot be written there.
    const QString ics = env.path(QStringLiteral("plan.ics"));
    QVERIFY(QDir().mkpath(ics));
    addHomework(QStringLiteral("Englisch"), QStringLiteral("Vokabeln"));
    const QStringList before = QDir(env.dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    CalendarSync sync;
    sync.setInterval(kInterval);
    QSignalSpy written(&sync, &CalendarSync::written);
    QSignalSpy failed(&sync, &CalendarSync::failed);

    sync.apply({true, ics});
    QTRY_COMPARE(failed.size(), 1);
    const QString message = failed.at(0).at(0).toString();
    QVERIFY2(message.startsWith(QStringLiteral("Die Kalenderdatei konnte nicht aktualisiert werden.")), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(ics)), qPrintable(message));

    // Further changes try again, silently; nothing escapes into the event loop.
    addHomework(QStringLiteral("Physik"), QStringLiteral("Versuch"));
    QTest::qWait(2 * kInterval);
    addHomework(QStringLiteral("Chemie"), QStringLiteral("Tabelle"));
    QTest::qWait(2 * kInterval);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(written.size(), 0);
    // No temporary file is left beside it.
    QCOMPARE(QDir(env.dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    QVERIFY(QFileInfo(ics).isDir());

    // Another file: written, and a later failure would be told again.
    const QString good = env.path(QStringLiteral("gut.ics"));
    sync.apply({true, good});
    QTRY_COMPARE(written.size(), 1);
    QVERIFY(readAll(good).contains("Versuch"));
}

// A path typed as in a shell, "~/…", or without a folder in front, names a
// file in the home folder, not one named "~" or in the program's working folder.
void tst_CalendarSync::pathFromTheHomeFolder()
{
    TestEnvironment env;
    QTemporaryDir home;
    const QByteArray homeBefore = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    addHomework(QStringLiteral("Englisch"), QStringLiteral("Vokabeln"));
    CalendarSync sync;
    sync.setInterval(kInterval);
    QSignalSpy written(&sync, &CalendarSync::written);
    sync.apply({true, QStringLiteral("~/kalmora.ics")});
    QTRY_COMPARE(written.size(), 1);
    sync.apply({true, QStringLiteral("plan.ics")});
    QTRY_COMPARE(written.size(), 2);
    qputenv("HOME", homeBefore);
    QVERIFY(readAll(home.filePath(QStringLiteral("kalmora.ics"))).startsWith("BEGIN:VCALENDAR"));
    QVERIFY(readAll(home.filePath(QStringLiteral("plan.ics"))).startsWith("BEGIN:VCALENDAR"));
    QVERIFY(!QFileInfo::exists(QStringLiteral("~")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("plan.ics")));
}

QTEST_GUILESS_MAIN(tst_CalendarSync)
#include "tst_CalendarSync.moc"
