// The due-event scan, its queue, the content of a reminder, snoozing and acknowledging.
#include "model/EventStore.h"
#include "platform/Clock.h"
#include "support/TestEnvironment.h"
#include "termin/DueEvents.h"

#include <QtTest>

class tst_DueQueue final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void queueOrder();
    void scanQueuesWhatHasCome();
    void timeDependentEventWaitsForItsTime();
    void snoozeAndAcknowledge();
    void fullQueueLeavesTheRestForTheNextStart();
    void reminderContent();
};

namespace {
DueEntry entry(const QDateTime &due, const QString &name)
{
    return {due, name, QStringLiteral("TERMIN"), EventStore::dateText(due.date())};
}
}

void tst_DueQueue::queueOrder()
{
    DueQueue queue;
    const QDateTime nine(QDate(2026, 12, 7), QTime(9, 0));
    queue.append(entry(nine.addSecs(60), QStringLiteral("später")));
    queue.append(entry(nine, QStringLiteral("jetzt")));
    queue.append(entry(nine.addSecs(-60), QStringLiteral("vorher")));
    // The first entry due strictly before now, in queue order.
    QCOMPARE(queue.firstDueBefore(nine), 2);
    QCOMPARE(queue.firstDueBefore(nine.addMSecs(1)), 1);
    QCOMPARE(queue.firstDueBefore(nine.addSecs(-60)), -1);
    // Removing moves the later entries up one place.
    queue.removeAt(1);
    QCOMPARE(queue.at(1).name, QStringLiteral("vorher"));
    QCOMPARE(queue.firstDueBefore(nine.addMSecs(1)), 1);
}

void tst_DueQueue::scanQueuesWhatHasCome()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    env.writeSettings(QStringLiteral("[TERMIN]\n6.12.2026=Gestern\n7.12.2026=Heute\n8.12.2026=Morgen\n31.2.2026=Kaputt\n"
                                     "[ERINNERN]\n6.12.2026 23:59:0=Alt\n7.12.2026 10:15:20=Spaeter\n8.12.2026 0:0:0=Morgen\n"
                                     "kaputt=X\n7.12.2026=ohne Zeit\n7.12.2026 25:00:00=Unsinn\n"
                                     "[WEEKLY]\n16.11.2026=Sport\n[MONTHLY]\n7.12.2026=Mittag\n[YEARLY]\n7.12.2026=Nacht\nx=Y\n"
                                     "[TIME]\nHeute=#14:00\nGestern=8:00\nMittag=#24:00\nNacht=#\n"));
    DueQueue queue;
    queue.append(entry(QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QStringLiteral("von vorher")));
    DueEvents::ScanDueEvents(queue);
    // Snoozes first, then the kinds in their order; a time without "#" or one that
    // is no time of day ("24:00") counts from the start of the date. Keys that do
    // not read as dates, snooze keys without a blank or a time are skipped.
    QList<std::pair<QString, QDateTime>> queued;
    for (const DueEntry &e : queue.entries())
        queued.append({e.section + u' ' + e.name, e.due});
    const QDate d6(2026, 12, 6), d7(2026, 12, 7);
    QCOMPARE(queued, (QList<std::pair<QString, QDateTime>>{
                         {"ERINNERN Alt", QDateTime(d6, QTime(23, 59))},
                         {"ERINNERN Spaeter", QDateTime(d7, QTime(10, 15, 20))},
                         {"TERMIN Gestern", QDateTime(d6, QTime(0, 0))},
                         {"TERMIN Heute", QDateTime(d7, QTime(14, 0))},
                         {"WEEKLY Sport", QDateTime(QDate(2026, 11, 16), QTime(0, 0))},
                         {"MONTHLY Mittag", QDateTime(d7, QTime(0, 0))},
                         {"YEARLY Nacht", QDateTime(d7, QTime(0, 0))},
                     }));
    QCOMPARE(queue.firstDueBefore(Clock::now()), 0);
}

void tst_DueQueue::timeDependentEventWaitsForItsTime()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    env.writeSettings(QStringLiteral("[TERMIN]\n7.12.2026=Heute\n[TIME]\nHeute=#14:00\n"));
    DueQueue queue;
    DueEvents::ScanDueEvents(queue);
    QCOMPARE(queue.count(), 1);
    // Not at 9:00, not at 14:00 itself, but at the minute check after it.
    QCOMPARE(queue.firstDueBefore(Clock::now()), -1);
    QCOMPARE(queue.firstDueBefore(QDateTime(QDate(2026, 12, 7), QTime(14, 0))), -1);
    QCOMPARE(queue.firstDueBefore(QDateTime(QDate(2026, 12, 7), QTime(14, 1))), 0);

    // A one-time event of yesterday is due at once; acknowledging removes its
    // entry and leaves its details.
    env.writeSettings(QStringLiteral("[TERMIN]\n6.12.2026=Gestern\n[TIME]\nGestern=#18:00\n[SOUND]\nGestern=x.wav\n[MEMO]\nGestern#=0\nGestern0=a\n"));
    DueEvents::ScanDueEvents(queue);
    QCOMPARE(queue.firstDueBefore(Clock::now()), 0);
    DueEvents::Acknowledge(queue, 0);
    QVERIFY(queue.isEmpty());
    QCOMPARE(env.settingsText(), QStringLiteral("[TIME]\nGestern=#18:00\n[SOUND]\nGestern=x.wav\n[MEMO]\nGestern#=0\nGestern0=a\n"));

    // A hand-edited key that the canonical text does not match is removed by its
    // own spelling, so the reminder does not come back at every start.
    env.writeSettings(QStringLiteral("[TERMIN]\n06.12.2026=Alt\n[ERINNERN]\n7.12.2026 8:00=Alt\n"));
    DueEvents::ScanDueEvents(queue);
    QCOMPARE(queue.count(), 2);
    DueEvents::Acknowledge(queue, 1);
    DueEvents::Acknowledge(queue, 0);
    QCOMPARE(env.settingsText(), QString());
}

void tst_DueQueue::snoozeAndAcknowledge()
{
    TestEnvironment env(QDateTime(QDate(2026, 2, 1), QTime(10, 0, 20, 750)));
    env.writeSettings(QStringLiteral("[MONTHLY]\n31.1.2026=Miete\n[SOUND]\nMiete=gong.wav\n"));
    DueQueue queue;
    DueEvents::ScanDueEvents(queue);
    const qsizetype shown = queue.firstDueBefore(Clock::now());
    QCOMPARE(shown, 0);
    // "In 0:15 erinnern": the snooze is written and queued, then the shown
    // occurrence is acknowledged as always.
    QVERIFY(DueEvents::Snooze(queue, shown, u"0:15"));
    DueEvents::Acknowledge(queue, shown);
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUND]\nMiete=gong.wav\n[ERINNERN]\n1.2.2026 10:15:20=Miete\n[MONTHLY]\n31.3.2026=Miete\n"));
    QCOMPARE(queue.count(), 1);
    QCOMPARE(queue.at(0).section, QStringLiteral("ERINNERN"));
    // Shown again only after 10:15:20.
    QCOMPARE(queue.firstDueBefore(QDateTime(QDate(2026, 2, 1), QTime(10, 15, 20))), -1);
    QCOMPARE(queue.firstDueBefore(QDateTime(QDate(2026, 2, 1), QTime(10, 15, 21))), 0);
    // After a restart of the same day the snooze comes from "ERINNERN" with the same moment.
    DueQueue restarted;
    DueEvents::ScanDueEvents(restarted);
    QCOMPARE(restarted.entries(), queue.entries());
    // "&Okay" on the snooze removes its record and leaves "MONTHLY" alone.
    DueEvents::Acknowledge(queue, 0);
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUND]\nMiete=gong.wav\n[MONTHLY]\n31.3.2026=Miete\n"));

    // The delays of the list, in seconds; a text that is no delay writes nothing.
    QCOMPARE(DueEvents::snoozeDelay(DueEvents::SnoozeDelays().first()), std::optional<int>(300));
    QCOMPARE(DueEvents::snoozeDelay(DueEvents::SnoozeDelays().last()), std::optional<int>(5 * 3600));
    queue.append(entry(Clock::now(), QStringLiteral("X")));
    QVERIFY(!DueEvents::Snooze(queue, 0, u"bald"));
    QCOMPARE(queue.count(), 1);
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUND]\nMiete=gong.wav\n[MONTHLY]\n31.3.2026=Miete\n"));
}

void tst_DueQueue::fullQueueLeavesTheRestForTheNextStart()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    QString text = QStringLiteral("[TERMIN]\n");
    for (int i = 0; i < 300; ++i)
        text += EventStore::dateText(QDate(2025, 1, 1).addDays(i)) + QStringLiteral("=E%1\n").arg(i);
    env.writeSettings(text);
    DueQueue queue;
    DueEvents::ScanDueEvents(queue);
    // The queue stops at 255 entries; it never wraps over its first ones.
    QCOMPARE(queue.count(), 255);
    QCOMPARE(queue.at(0).name, QStringLiteral("E0"));
    QCOMPARE(queue.at(254).name, QStringLiteral("E254"));
    // A snooze on a full queue is kept in the file for the next start.
    QVERIFY(DueEvents::Snooze(queue, 0, u"0:05"));
    QCOMPARE(queue.count(), 255);
    while (!queue.isEmpty())
        DueEvents::Acknowledge(queue, 0);
    DueEvents::ScanDueEvents(queue);
    QCOMPARE(queue.count(), 46);
    QCOMPARE(queue.at(0).section, QStringLiteral("ERINNERN"));
    QCOMPARE(queue.at(1).name, QStringLiteral("E255"));
}

void tst_DueQueue::reminderContent()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[SOUND]\nStill=\nGong=C:\\Sounds\\gong.wav\n"
                                     "[MEMO]\nLeer#=-1\nZwei#=1\nZwei0=a\nZwei2=nicht\nRiesig#=2000000000\n"));
    // Without a "SOUND" record the default plays; an empty one stays empty.
    QCOMPARE(DueEvents::LoadReminder(QStringLiteral("Nix")).sound, QStringLiteral("DEFAULT.WAV"));
    QCOMPARE(DueEvents::LoadReminder(QStringLiteral("Still")).sound, QString());
    QCOMPARE(DueEvents::LoadReminder(QStringLiteral("Gong")).sound, QStringLiteral("C:\\Sounds\\gong.wav"));
    // "-1" shows no line, no record shows the empty line 0, missing lines are empty.
    QVERIFY(DueEvents::LoadReminder(QStringLiteral("Leer")).lines.isEmpty());
    QCOMPARE(DueEvents::LoadReminder(QStringLiteral("Nix")).lines, QStringList{QString()});
    QCOMPARE(DueEvents::LoadReminder(QStringLiteral("Zwei")).lines, QStringList({"a", ""}));
    // A hand-edited length does not make the reminder read for ever.
    QCOMPARE(DueEvents::LoadReminder(QStringLiteral("Riesig")).lines.size(), 4096);
}

QTEST_GUILESS_MAIN(tst_DueQueue)
#include "tst_DueQueue.moc"
