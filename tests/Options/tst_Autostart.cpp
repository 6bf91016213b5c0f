// The autostart entry and the settings window's autostart box.
#include "Options/Autostart.h"
#include "Options/TForm8.h"
#include "platform/Errors.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QtTest>

class tst_Autostart final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void enabledOnlyWithACommand();
    void programPathsReadBack();
    void boxFollowsTheEntry();
    void folderThatCannotBeOpened();
    void refusedWrite();

private:
    QString folder() const { return m_config->path() + QStringLiteral("/autostart"); }
    void writeEntry(const QByteArray &text) const;
    std::unique_ptr<QTemporaryDir> m_config;
};

namespace {
QCheckBox *boxOf(TForm8 &form)
{
    return form.findChild<QCheckBox *>(QStringLiteral("AutoStartCheck"));
}
}

void tst_Autostart::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    qunsetenv("KALMORA_LAUNCHER");
}

void tst_Autostart::writeEntry(const QByteArray &text) const
{
    QDir().mkpath(folder());
    QFile file(Autostart::EntryPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void tst_Autostart::enabledOnlyWithACommand()
{
    QCOMPARE(Autostart::EntryPath(), folder() + QStringLiteral("/kalmora-2.0.desktop"));
    // No entry, an empty command, or a command outside the entry's group: off.
    QVERIFY(!Autostart::AutostartEnabled());
    writeEntry("[Desktop Entry]\nType=Application\nExec=\n");
    QVERIFY(!Autostart::AutostartEnabled());
    writeEntry("[Desktop Entry]\nType=Application\n[Desktop Action Neu]\nExec=/opt/kalmora\n");
    QVERIFY(!Autostart::AutostartEnabled());
    writeEntry("[Desktop Entry]\nType=Application\nExec = /opt/kalmora --leise\n");
    QVERIFY(Autostart::AutostartEnabled());
    QCOMPARE(Autostart::StoredProgramPath(), QStringLiteral("/opt/kalmora"));

    // Writing gives a complete entry; removing it, also when it is gone already, switches off.
    QVERIFY(Autostart::EnableAutostart(QStringLiteral("/usr/local/bin/kalmora")));
    QFile file(Autostart::EntryPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Desktop Entry]\nType=Application\nName=Kalmora 2.0\n"
                                        "Exec=/usr/local/bin/kalmora\nX-GNOME-Autostart-enabled=true\n"));
    QVERIFY(Autostart::DisableAutostart());
    QVERIFY(!Autostart::AutostartEnabled());
    QVERIFY(Autostart::DisableAutostart());

    // Only an absolute XDG_CONFIG_HOME counts.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", m_config->path().toUtf8());
    qputenv("XDG_CONFIG_HOME", "relativ/config");
    QCOMPARE(Autostart::EntryPath(), m_config->path() + QStringLiteral("/.config/autostart/kalmora-2.0.desktop"));
    qputenv("HOME", home);
}

void tst_Autostart::programPathsReadBack()
{
    // Blanks, quotes, dollars, percent signs and line breaks in the path are
    // escaped, so the entry starts exactly that file and gains no lines.
    const QStringList paths = {"/opt/Kalmora 2.0/kalmora", "/home/pia/$HOME/`x`/kalmora", "/tmp/100%/k\"al\\mora",
                               "/tmp/zwei\nExec=/bin/false", "/tmp/Schüler/kalmora"};
    for (const QString &path : paths) {
        QVERIFY(Autostart::EnableAutostart(path));
        QCOMPARE(Autostart::StoredProgramPath(), path);
        QFile file(Autostart::EntryPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), 5);
    }
    QCOMPARE(Autostart::ExecText(QStringLiteral("/opt/Kalmora 2.0/kalmora")), QStringLiteral("\"/opt/Kalmora 2.0/kalmora\""));
    // The launcher, when named, is what autostart starts.
    QCOMPARE(Autostart::ProgramPath(), QCoreApplication::applicationFilePath());
    qputenv("KALMORA_LAUNCHER", "/opt/kalmora/run");
    QCOMPARE(Autostart::ProgramPath(), QStringLiteral("/opt/kalmora/run"));
}

void tst_Autostart::boxFollowsTheEntry()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), QByteArray()); // an empty catalogue: showing the window reports nothing
    TForm8 form;
    QCheckBox *box = boxOf(form);
    // An empty command leaves the box clear.
    writeEntry("[Desktop Entry]\nExec=\n");
    form.show();
    QVERIFY(!box->isChecked());
    form.hide();

    // The program was moved: the box turns on and the entry names the program now running.
    writeEntry("[Desktop Entry]\nType=Application\nExec=/alter/ort/kalmora\n");
    form.show();
    QVERIFY(box->isChecked());
    QCOMPARE(Autostart::StoredProgramPath(), QCoreApplication::applicationFilePath());

    // Clearing removes the entry, ticking writes the current path again.
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!QFile::exists(Autostart::EntryPath()));
    qputenv("KALMORA_LAUNCHER", "/opt/kalmora/run");
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(Autostart::StoredProgramPath(), QStringLiteral("/opt/kalmora/run"));
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_Autostart::folderThatCannotBeOpened()
{
    // A file where the folder should be: it can be neither created nor written.
    QFile blocker(folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!Autostart::AutostartEnabled());
    QVERIFY(!Autostart::EnableAutostart(QStringLiteral("/opt/kalmora")));
    QVERIFY(!Autostart::DisableAutostart());

    // In the window a click does nothing and says nothing; the box keeps the
    // pupil's choice until the next showing sets it from the entry again.
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), QByteArray()); // an empty catalogue: showing the window reports nothing
    TForm8 form;
    form.show();
    QTest::mouseClick(boxOf(form), Qt::LeftButton);
    QVERIFY(boxOf(form)->isChecked());
    QVERIFY(QFileInfo(folder()).isFile());
    form.hide();
    form.show();
    QVERIFY(!boxOf(form)->isChecked());
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_Autostart::refusedWrite()
{
    // Something in the way of the entry's file: the write fails with the registry text.
    QVERIFY(QDir().mkpath(Autostart::EntryPath()));
    QVERIFY_THROWS_EXCEPTION(ERegistryError, Autostart::EnableAutostart(QStringLiteral("/opt/kalmora")));

    // In the window the failure is shown and the box stays ticked.
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), QByteArray()); // an empty catalogue: showing the window reports nothing
    TForm8 form;
    form.show();
    QTest::mouseClick(boxOf(form), Qt::LeftButton);
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, QStringLiteral("Failed to set data for 'Kalmora 2.0'"));
    QVERIFY(boxOf(form)->isChecked());
}

QTEST_MAIN(tst_Autostart)
#include "tst_Autostart.moc"
