// The event store and the clean-up of left-over records, byte for byte on the settings file.
#include "model/EventStore.h"
#include "model/SettingsFile.h"
#include "platform/Errors.h"
#include "support/TestEnvironment.h"

#include <QtTest>

#include <algorithm>

class tst_EventStore final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveWritesTheRecords();
    void saveAgainLeavesNoStaleLines();
    void removeEntryRewritesTheSection();
    void advanceOccurrence();
    void monthlySearch();
    void snoozes();
    void namesThatCannotBreakTheFile();
    void reorganisationExamples();
    void reorganisationEqualsOneRemovalAtATime();
};

void tst_EventStore::saveWritesTheRecords()
{
    TestEnvironment env;
    EventStore::SaveEvent(EventKind::OneTime, QDate(2026, 3, 7), QStringLiteral("Mathearbeit"), QStringLiteral("C:\\Sounds\\gong.wav"),
                          QStringLiteral("8:00"), true, {QStringLiteral("Formelsammlung"), QStringLiteral("Taschenrechner")});
    QCOMPARE(env.settingsText(), QStringLiteral("[TERMIN]\n7.3.2026=Mathearbeit\n[SOUND]\nMathearbeit=C:\\Sounds\\gong.wav\n"
                                                "[TIME]\nMathearbeit=#8:00\n[MEMO]\nMathearbeit#=1\n"
                                                "Mathearbeit0=Formelsammlung\nMathearbeit1=Taschenrechner\n"));
    const EventStore::Event loaded = EventStore::LoadEvent(EventKind::OneTime, QStringLiteral("Mathearbeit"));
    QCOMPARE(loaded.date, std::optional<QDate>(QDate(2026, 3, 7)));
    QCOMPARE(loaded.sound, QStringLiteral("C:\\Sounds\\gong.wav"));
    QVERIFY(loaded.timeDependent);
    QCOMPARE(loaded.timeText, QStringLiteral("8:00"));
    QCOMPARE(loaded.lines, QStringList({"Formelsammlung", "Taschenrechner"}));

    // A second event on the same date takes the entry; the first one's records stay.
    // An empty message writes the length record "-1" and no lines.
    EventStore::SaveEvent(EventKind::OneTime, QDate(2026, 3, 7), QStringLiteral("Bio"), QString(), QStringLiteral("6:00"), false, {});
    QCOMPARE(env.settingsText(), QStringLiteral("[TERMIN]\n7.3.2026=Bio\n[SOUND]\nMathearbeit=C:\\Sounds\\gong.wav\nBio=\n"
                                                "[TIME]\nMathearbeit=#8:00\nBio=6:00\n[MEMO]\nMathearbeit#=1\n"
                                                "Mathearbeit0=Formelsammlung\nMathearbeit1=Taschenrechner\nBio#=-1\n"));
    QCOMPARE(EventStore::LoadEventNames(EventKind::OneTime), QStringList{"Bio"});
    QVERIFY(EventStore::LoadEvent(EventKind::OneTime, QStringLiteral("Bio")).lines.isEmpty());

    // A name no entry carries: no date, and the editor's defaults.
    const EventStore::Event none = EventStore::LoadEvent(EventKind::Weekly, QStringLiteral("Mathearbeit"));
    QVERIFY(!none.date);
    QCOMPARE(none.timeText, QStringLiteral("8:00")); // "TIME" belongs to the name, not the kind
    const EventStore::Event unknown = EventStore::LoadEvent(EventKind::OneTime, QStringLiteral("Nix"));
    QVERIFY(unknown.sound.isEmpty());
    QCOMPARE(unknown.timeText, QStringLiteral("6:00"));
    QVERIFY(!unknown.timeDependent);
    QVERIFY(unknown.lines.isEmpty());

    // A length record that is no number stops the load with the platform's text.
    env.writeSettings(QStringLiteral("[MEMO]\nX#=abc\n"));
    try {
        EventStore::LoadEvent(EventKind::OneTime, QStringLiteral("X"));
        QFAIL("an unreadable length record was accepted");
    } catch (const EConvertError &error) {
        QCOMPARE(error.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
}

void tst_EventStore::saveAgainLeavesNoStaleLines()
{
    const QString before = QStringLiteral("[TERMIN]\n7.3.2026=Mathearbeit\n8.3.2026=Bio\n[TIME]\nMathearbeit=#8:00\n"
                                          "[SOUND]\nMathearbeit=gong.wav\n[MEMO]\nMathearbeit#=2\nMathearbeit0=a\n"
                                          "Mathearbeit1=b\nMathearbeit2=c\nMathearbeit10=bleibt\nBio#=-1\n[X]\ny=1\n");
    TestEnvironment env;
    env.writeSettings(before);
    // Lines 0..2 and the length record go; "Mathearbeit10" is no line of a three-line
    // message. The kind's section comes back under its mixed-case name.
    EventStore::RemoveEventByName(EventKind::OneTime, QStringLiteral("Mathearbeit"));
    QCOMPARE(env.settingsText(), QStringLiteral("[X]\ny=1\n[MEMO]\nMathearbeit10=bleibt\nBio#=-1\n[Termin]\n8.3.2026=Bio\n"));
    // Later writes under "TERMIN" join that section.
    EventStore::SaveEvent(EventKind::OneTime, QDate(2026, 3, 9), QStringLiteral("Mathearbeit"), QString(), QStringLiteral("6:00"), false, {"x"});
    const QString after = QStringLiteral("[X]\ny=1\n[MEMO]\nMathearbeit10=bleibt\nBio#=-1\nMathearbeit#=0\nMathearbeit0=x\n"
                                         "[Termin]\n8.3.2026=Bio\n9.3.2026=Mathearbeit\n[SOUND]\nMathearbeit=\n[TIME]\nMathearbeit=6:00\n");
    QCOMPARE(env.settingsText(), after);
    QCOMPARE(EventStore::LoadEventNames(EventKind::OneTime), QStringList({"Bio", "Mathearbeit"}));

    // Replacing in one operation gives the same file.
    env.writeSettings(before);
    EventStore::ReplaceEvent(EventKind::OneTime, QDate(2026, 3, 9), QStringLiteral("Mathearbeit"), QString(), QStringLiteral("6:00"), false, {"x"});
    QCOMPARE(env.settingsText(), after);

    // A message without lines keeps its length record.
    EventStore::RemoveEventByName(EventKind::OneTime, QStringLiteral("Bio"));
    QVERIFY(env.settingsText().contains(QStringLiteral("Bio#=-1\n")));
    QVERIFY(!env.settingsText().contains(QStringLiteral("=Bio\n")));
}

void tst_EventStore::removeEntryRewritesTheSection()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[TERMIN]\n11.1.2026=A\n1.1.2026=B\n21.1.2026=C\n[TIME]\nA=\nB=#8:00\n"));
    // Only the exact key goes, not the dates that contain it as text.
    EventStore::RemoveEntry(QStringLiteral("TERMIN"), QStringLiteral("1.1.2026"));
    QCOMPARE(env.settingsText(), QStringLiteral("[TIME]\nA=\nB=#8:00\n[TERMIN]\n11.1.2026=A\n21.1.2026=C\n"));
    // An absent key still rewrites the section, and the empty entry vanishes.
    EventStore::RemoveEntry(QStringLiteral("TIME"), QStringLiteral("Z"));
    QCOMPARE(env.settingsText(), QStringLiteral("[TERMIN]\n11.1.2026=A\n21.1.2026=C\n[TIME]\nB=#8:00\n"));
    // The editor's removal takes every entry of the name and leaves its details.
    EventStore::SaveEvent(EventKind::OneTime, QDate(2026, 2, 1), QStringLiteral("A"), QString(), QStringLiteral("7:00"), false, {});
    EventStore::RemoveEventEntry(EventKind::OneTime, QStringLiteral("A"));
    QCOMPARE(EventStore::LoadEventNames(EventKind::OneTime), QStringList{"C"});
    QCOMPARE(EventStore::LoadEvent(EventKind::OneTime, QStringLiteral("A")).timeText, QStringLiteral("7:00"));
    // A name no entry carries changes nothing, not even the place of the section.
    const QString text = env.settingsText();
    EventStore::RemoveEventEntry(EventKind::OneTime, QStringLiteral("Nix"));
    QCOMPARE(env.settingsText(), text);
}

void tst_EventStore::advanceOccurrence()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[WEEKLY]\n7.3.2026=Sport\n[TIME]\nSport=#8:00\n[MONTHLY]\n31.1.2026=Geld\n15.12.2026=Zins\n"
                                     "[YEARLY]\n1.3.2027=Geburtstag\n[TERMIN]\n2.3.2026=Test\n"));
    // Weekly, time-dependent: the key moves on by 7 days, "TIME" stays.
    EventStore::AdvanceOccurrence(QStringLiteral("WEEKLY"), QDateTime(QDate(2026, 3, 7), QTime(8, 0)), QStringLiteral("Sport"));
    QCOMPARE(env.settingsText(), QStringLiteral("[TIME]\nSport=#8:00\n[MONTHLY]\n31.1.2026=Geld\n15.12.2026=Zins\n"
                                                "[YEARLY]\n1.3.2027=Geburtstag\n[TERMIN]\n2.3.2026=Test\n[WEEKLY]\n14.3.2026=Sport\n"));
    // Monthly: 31 January to 31 March, 15 December to 15 January of the next year.
    EventStore::AdvanceOccurrence(QStringLiteral("MONTHLY"), QDateTime(QDate(2026, 1, 31), QTime(0, 0)), QStringLiteral("Geld"));
    EventStore::AdvanceOccurrence(QStringLiteral("MONTHLY"), QDateTime(QDate(2026, 12, 15), QTime(0, 0)), QStringLiteral("Zins"));
    // Yearly: 365 days, so 29 February 2028 and then 28 February 2029.
    EventStore::AdvanceOccurrence(QStringLiteral("YEARLY"), QDateTime(QDate(2027, 3, 1), QTime(0, 0)), QStringLiteral("Geburtstag"));
    QVERIFY(env.settingsText().endsWith(QStringLiteral("[YEARLY]\n29.2.2028=Geburtstag\n")));
    EventStore::AdvanceOccurrence(QStringLiteral("YEARLY"), QDateTime(QDate(2028, 2, 29), QTime(0, 0)), QStringLiteral("Geburtstag"));
    // One-time: the entry goes and nothing follows.
    EventStore::AdvanceOccurrence(QStringLiteral("TERMIN"), QDateTime(QDate(2026, 3, 2), QTime(0, 0)), QStringLiteral("Test"));
    QCOMPARE(env.settingsText(), QStringLiteral("[TIME]\nSport=#8:00\n[WEEKLY]\n14.3.2026=Sport\n"
                                                "[MONTHLY]\n31.3.2026=Geld\n15.1.2027=Zins\n[YEARLY]\n28.2.2029=Geburtstag\n"));
}

void tst_EventStore::monthlySearch()
{
    const auto next = [](int d, int m, int y) { return EventStore::nextMonthlyDate(QDate(y, m, d)); };
    // The 31st goes to the next month with 31 days; the 29th and 30th skip February.
    QCOMPARE(next(31, 3, 2026), QDate(2026, 5, 31));
    QCOMPARE(next(31, 8, 2026), QDate(2026, 10, 31));
    QCOMPARE(next(29, 1, 2028), QDate(2028, 3, 29));
    QCOMPARE(next(30, 1, 2026), QDate(2026, 3, 30));
    QCOMPARE(next(28, 1, 2026), QDate(2026, 2, 28));
    QCOMPARE(next(31, 12, 2026), QDate(2027, 1, 31));
    // A monthly event saved on 29 February goes on to 29 March.
    QCOMPARE(next(29, 2, 2028), QDate(2028, 3, 29));
}

void tst_EventStore::snoozes()
{
    TestEnvironment env;
    const QDateTime due(QDate(2026, 2, 1), QTime(10, 15, 20));
    EventStore::AddSnooze(due, QStringLiteral("Miete"));
    EventStore::AddSnooze(QDateTime(QDate(2026, 2, 1), QTime(10, 15, 2)), QStringLiteral("Miete"));
    QCOMPARE(env.settingsText(), QStringLiteral("[ERINNERN]\n1.2.2026 10:15:20=Miete\n1.2.2026 10:15:2=Miete\n"));
    // Acknowledging a snooze removes the one of its moment and nothing else.
    EventStore::AdvanceOccurrence(QStringLiteral("ERINNERN"), due, QStringLiteral("Miete"));
    QCOMPARE(env.settingsText(), QStringLiteral("[ERINNERN]\n1.2.2026 10:15:2=Miete\n"));
    EventStore::RemoveSnooze(QDateTime(QDate(2026, 2, 1), QTime(10, 15, 2)));
    QCOMPARE(env.settingsText(), QString());
}

void tst_EventStore::namesThatCannotBreakTheFile()
{
    TestEnvironment env;
    QCOMPARE(EventStore::usableName(QStringLiteral("  [Chor=Probe]  ")), QStringLiteral("(Chor-Probe]"));
    QCOMPARE(EventStore::usableName(QStringLiteral("Mathe\r\nArbeit")), QStringLiteral("Mathe  Arbeit"));
    // A name that would open a section as a key is stored so that it reads back.
    EventStore::SaveEvent(EventKind::Weekly, QDate(2026, 3, 7), QStringLiteral("[Chor]"), QString(), QStringLiteral("7:00"), true, {"Noten"});
    SettingsFile::read([](const ProfileFile &ini) {
        QCOMPARE(ini.sections(), QStringList({"WEEKLY", "SOUND", "TIME", "MEMO"}));
    });
    QCOMPARE(EventStore::LoadEventNames(EventKind::Weekly), QStringList{"(Chor]"});
    const EventStore::Event chor = EventStore::LoadEvent(EventKind::Weekly, QStringLiteral("(Chor]"));
    QCOMPARE(chor.timeText, QStringLiteral("7:00"));
    QCOMPARE(chor.lines, QStringList{"Noten"});
    // A name of blanks writes nothing.
    const QString text = env.settingsText();
    EventStore::SaveEvent(EventKind::Weekly, QDate(2026, 3, 8), QStringLiteral("   "), QString(), QStringLiteral("7:00"), false, {});
    QCOMPARE(env.settingsText(), text);
}

void tst_EventStore::reorganisationExamples()
{
    TestEnvironment env;
    // Test was removed, Probe exists: Test's records go. Rewriting "SOUND" drops
    // Probe's empty sound as every removal of single entries does.
    env.writeSettings(QStringLiteral("[TERMIN]\n7.3.2026=Probe\n[TIME]\nTest=#8:00\nProbe=6:00\n[SOUND]\nTest=a.wav\nProbe=\n"
                                     "[MEMO]\nTest#=1\nTest0=x\nTest1=y\nProbe#=0\nProbe0=z\n[ALARM]\n01.01.2026=bleibt\n"));
    EventStore::Reorganisation();
    QCOMPARE(env.settingsText(), QStringLiteral("[TERMIN]\n7.3.2026=Probe\n[ALARM]\n01.01.2026=bleibt\n"
                                                "[TIME]\nProbe=6:00\n[MEMO]\nProbe#=0\nProbe0=z\n"));

    // A pending snooze keeps the records of its name; nothing else is there to remove.
    const QString snoozed = QStringLiteral("[ERINNERN]\n1.2.2026 10:15:20=Test\n[TIME]\nTest=#8:00\n[SOUND]\nTest=\n[MEMO]\nTest#=0\nTest0=x\n");
    env.writeSettings(snoozed);
    EventStore::Reorganisation();
    QCOMPARE(env.settingsText(), snoozed);

    // No event and no snooze at all: nothing is removed.
    const QString leftOvers = QStringLiteral("[TIME]\nAlt=6:00\n[SOUND]\nAlt=x.wav\n[MEMO]\nAlt#=0\nAlt0=y\n");
    env.writeSettings(leftOvers);
    EventStore::Reorganisation();
    QCOMPARE(env.settingsText(), leftOvers);

    // Mathe removed while Mat exists: its "MEMO" records stay, since Mat begins them.
    env.writeSettings(QStringLiteral("[WEEKLY]\n2.3.2026=Mat\n[TIME]\nMathe=6:00\nMat=7:00\n[SOUND]\nMathe=a\nMat=b\n"
                                     "[MEMO]\nMathe#=0\nMathe0=x\nMat#=0\nMat0=y\n"));
    EventStore::Reorganisation();
    QCOMPARE(env.settingsText(), QStringLiteral("[WEEKLY]\n2.3.2026=Mat\n[MEMO]\nMathe#=0\nMathe0=x\nMat#=0\nMat0=y\n"
                                                "[TIME]\nMat=7:00\n[SOUND]\nMat=b\n"));
    // With only Mathearbeit there, Mathe's "MEMO" records go too; letter case counts.
    env.writeSettings(QStringLiteral("[MONTHLY]\n2.3.2026=Mathearbeit\n[MEMO]\nMathe#=0\nMathe0=x\nmathearbeit0=z\nMathearbeit0=y\n"));
    EventStore::Reorganisation();
    QCOMPARE(env.settingsText(), QStringLiteral("[MONTHLY]\n2.3.2026=Mathearbeit\n[MEMO]\nMathearbeit0=y\n"));
}

void tst_EventStore::reorganisationEqualsOneRemovalAtATime()
{
    // Many events, most of them gone, with empty values, duplicate keys and
    // names that begin other names.
    QString text = QStringLiteral("[TERMIN]\n");
    for (int i = 0; i < 150; i += 7)
        text += QStringLiteral("%1.1.2026=E%2\n").arg(i % 28 + 1).arg(i);
    text += QStringLiteral("[ERINNERN]\n1.2.2026 8:0:0=E3\n[TIME]\n");
    QString sound = QStringLiteral("[SOUND]\n"), memo = QStringLiteral("[MEMO]\n");
    for (int i = 0; i < 150; ++i) {
        text += QStringLiteral("E%1=%2\n").arg(i).arg(i % 5 == 0 ? QString() : QStringLiteral("#8:00"));
        sound += QStringLiteral("E%1=%2\n").arg(i).arg(i % 3 == 0 ? QString() : QStringLiteral("gong.wav"));
        const QString name = u'E' + QString::number(i);
        memo += name + QStringLiteral("#=1\n") + name + QStringLiteral("0=a\n") + name + QStringLiteral("=\n");
    }
    text += QStringLiteral("E7=doppelt\n") + sound + memo + QStringLiteral("[Dates]\n08.12.2026=1\n");

    QByteArray bytes = text.toLatin1();
    bytes.replace("\n", "\r\n");
    ProfileFile expected = ProfileFile::fromBytes(bytes);
    QSet<QString> names;
    for (const QString &section : QStringList{"TERMIN", "WEEKLY", "MONTHLY", "YEARLY", "ERINNERN"}) {
        for (const QString &entry : expected.entries(section))
            names.insert(entry.mid(entry.indexOf(u'=') + 1));
    }
    for (const QString &section : QStringList{"TIME", "SOUND"}) {
        for (const QString &key : expected.keys(section)) {
            if (!names.contains(key))
                EventStore::RemoveEntry(expected, section, key);
        }
    }
    for (const QString &key : expected.keys(QStringLiteral("MEMO"))) {
        if (std::none_of(names.begin(), names.end(), [&](const QString &name) { return key.startsWith(name); }))
            EventStore::RemoveEntry(expected, QStringLiteral("MEMO"), key);
    }

    QVERIFY(expected.toBytes().size() < bytes.size() / 2);

    TestEnvironment env;
    env.writeFile(QStringLiteral("DEZUVEDIRED.INI"), bytes);
    EventStore::Reorganisation();
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), expected.toBytes());
}

QTEST_GUILESS_MAIN(tst_EventStore)
#include "tst_EventStore.moc"
