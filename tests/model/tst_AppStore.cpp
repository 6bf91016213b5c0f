// The applications in the settings file: the stored text, known programs, defaults and homework copies.
#include "model/AppStore.h"
#include "model/HomeworkStore.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_AppStore final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void valueTextSplitsAtTheFirstMark();
    void knownProgramsHoldEachKeyOnce();
    void defaultsAndHomeworkApplications();
    void newHomeworkCopiesTheCurrentDefault();
};

void tst_AppStore::valueTextSplitsAtTheFirstMark()
{
    // The four stored forms read back as they were built.
    for (const AppValue &value : {AppValue{QStringLiteral("/usr/bin/writer"), QStringLiteral("vok.txt")}, AppValue{QStringLiteral("/usr/bin/writer"), QString()},
                                  AppValue{QString(), QStringLiteral("vok.txt")}, AppValue{}}) {
        QCOMPARE(AppValue::fromText(value.text()), value);
    }
    QCOMPARE((AppValue{QString(), QStringLiteral("vok.txt")}.text()), QStringLiteral("?vok.txt"));
    QVERIFY(AppValue::fromText(QString()).isEmpty());
    // Only the first "?" separates: the file may hold more of them.
    QCOMPARE(AppValue::fromText(QStringLiteral("prog?a?b")), (AppValue{QStringLiteral("prog"), QStringLiteral("a?b")}));
    // A lone "?" is no application at all.
    QVERIFY(AppValue::fromText(QStringLiteral("?")).isEmpty());
}

void tst_AppStore::knownProgramsHoldEachKeyOnce()
{
    TestEnvironment env;
    QVERIFY(AppStore::addProgram(QStringLiteral("/usr/bin/writer")));
    QVERIFY(AppStore::addProgram(QStringLiteral("/usr/bin/calc")));
    QVERIFY(AppStore::addProgram(QStringLiteral("/usr/bin/writer")));
    // Names differ only in case: the key stays as first spelt.
    QVERIFY(AppStore::addProgram(QStringLiteral("/usr/bin/CALC")));
    QCOMPARE(AppStore::programs(), QStringList({"/usr/bin/writer", "/usr/bin/calc"}));
    // An empty or blank text is refused, and nothing is written.
    QVERIFY(!AppStore::addProgram(QString()));
    QVERIFY(!AppStore::addProgram(QStringLiteral("   ")));
    QCOMPARE(env.settingsText(), QStringLiteral("[PROGRAMMS]\n/usr/bin/writer=1\n/usr/bin/calc=1\n"));
}

void tst_AppStore::defaultsAndHomeworkApplications()
{
    TestEnvironment env;
    AppStore::setDefaultApplication(QStringLiteral("Englisch"), {QStringLiteral("/opt/Office Suite/writer"), QStringLiteral("/home/p/Meine Vokabeln.txt")});
    AppStore::setDefaultApplication(QStringLiteral("Mathe"), {});
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), {QString(), QStringLiteral("heft.txt")});
    QCOMPARE(env.settingsText(), QStringLiteral("[DEFAULT]\nEnglisch=/opt/Office Suite/writer?/home/p/Meine Vokabeln.txt\nMathe=\n"
                                                "[08.12.2026]\nEnglischExec=?heft.txt\n"));
    QCOMPARE(AppStore::defaultApplication(QStringLiteral("englisch")).program, QStringLiteral("/opt/Office Suite/writer"));
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch")), (AppValue{QString(), QStringLiteral("heft.txt")}));
    // Nothing stored reads as no application.
    QVERIFY(AppStore::defaultApplication(QStringLiteral("Kunst")).isEmpty());
    QVERIFY(AppStore::homeworkApplication(QStringLiteral("09.12.2026"), QStringLiteral("Englisch")).isEmpty());
}

void tst_AppStore::newHomeworkCopiesTheCurrentDefault()
{
    TestEnvironment env;
    AppStore::setDefaultApplication(QStringLiteral("Englisch"), {QStringLiteral("/usr/bin/editor"), QString()});
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), {QStringLiteral("/usr/bin/other"), QString()});
    // Storing the homework again replaces its own application by the default.
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), QStringLiteral("Vokabeln 2"));
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch")).program, QStringLiteral("/usr/bin/editor"));
}

QTEST_GUILESS_MAIN(tst_AppStore)
#include "tst_AppStore.moc"
