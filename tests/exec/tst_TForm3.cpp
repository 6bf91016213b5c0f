// The homework application dialog, driven by its controls.
#include "model/AppStore.h"
#include "exec/Launcher.h"
#include "exec/TForm3.h"
#include "platform/FileDialog.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {
QStringList listed(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}
}

class tst_TForm3 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void storesWhatTheFieldsHold();
    void addingListsTheProgram();
    void fileButtonsFillTheFields();

private:
    template <typename T>
    T *control(const char *name) { return m_form->findChild<T *>(QLatin1String(name)); }
    QComboBox *program() { return control<QComboBox>("ComboBox1"); }
    QLineEdit *file() { return control<QLineEdit>("Edit1"); }
    void click(const char *name) { control<QAbstractButton>(name)->click(); }

    std::unique_ptr<TForm3> m_form;
};

void tst_TForm3::init()
{
    FileDialog::setUnattended(true);
    FileDialog::takeAsked();
    m_form = std::make_unique<TForm3>();
}

void tst_TForm3::storesWhatTheFieldsHold()
{
    TestEnvironment env;
    QList<Launcher::Command> started;
    Launcher::setStarter([&](const Launcher::Command &command) {
        started.append(command);
        return true;
    });
    // Program only: stored alone, started without an argument, shown again with "Datei:" empty.
    m_form->openForHomework(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Englisch - 08.12.2026"));
    program()->setEditText(QStringLiteral("editor"));
    click("Button2");
    QVERIFY(!m_form->isVisible());
    QVERIFY(env.settingsText().contains(QStringLiteral("[08.12.2026]\nEnglischExec=editor\n")));
    Launcher::startHomeworkApplication(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    QCOMPARE(started, QList<Launcher::Command>({{QStringLiteral("editor"), {}}}));
    file()->setText(QStringLiteral("left over"));
    m_form->openForHomework(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    QCOMPARE(program()->currentText(), QStringLiteral("editor"));
    QCOMPARE(file()->text(), QString());
    // File only: "?" and the file.
    program()->setEditText(QString());
    file()->setText(QStringLiteral("/home/p/Mein Heft.txt"));
    click("Button2");
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch")).file, QStringLiteral("/home/p/Mein Heft.txt"));
    QVERIFY(env.settingsText().contains(QStringLiteral("EnglischExec=?/home/p/Mein Heft.txt\n")));
    // "&Abbruch" stores nothing.
    m_form->openForHomework(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    program()->setEditText(QStringLiteral("anders"));
    click("Button3");
    QVERIFY(!m_form->isVisible());
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch")).program, QString());
    // Opened for another homework while shown, the fields and the target follow it;
    // a subject holding " - " is read back whole from the caption.
    m_form->openForHomework(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    AppStore::setHomeworkApplication(QStringLiteral("15.12.2026"), QStringLiteral("Kt. - Religion"), {QStringLiteral("bibel"), QStringLiteral("psalm.txt")});
    m_form->openForHomework(QStringLiteral("Kt. - Religion"), QStringLiteral("15.12.2026"));
    QCOMPARE(program()->currentText(), QStringLiteral("bibel"));
    QCOMPARE(file()->text(), QStringLiteral("psalm.txt"));
    file()->clear();
    click("Button2");
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("15.12.2026"), QStringLiteral("Kt. - Religion")), (AppValue{QStringLiteral("bibel"), QString()}));
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch")).file, QStringLiteral("/home/p/Mein Heft.txt"));
    Launcher::setStarter({});
}

void tst_TForm3::addingListsTheProgram()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[PROGRAMMS]\n/usr/bin/calc=1\n[08.12.2026]\nEnglischExec=/usr/bin/writer?vok.txt\n"));
    m_form->openForHomework(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    // Showing fills the list and keeps the homework's texts.
    QCOMPARE(listed(program()), QStringList{"/usr/bin/calc"});
    QCOMPARE(program()->currentText(), QStringLiteral("/usr/bin/writer"));
    QCOMPARE(file()->text(), QStringLiteral("vok.txt"));
    // Twice: listed twice until the next showing, one key in the file.
    click("Button1");
    click("Button1");
    QCOMPARE(listed(program()), QStringList({"/usr/bin/calc", "/usr/bin/writer", "/usr/bin/writer"}));
    QCOMPARE(program()->currentText(), QStringLiteral("/usr/bin/writer"));
    QCOMPARE(env.settingsText().count(QStringLiteral("/usr/bin/writer=1")), 1);
    click("Button3");
    m_form->openForHomework(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    QCOMPARE(listed(program()), QStringList({"/usr/bin/calc", "/usr/bin/writer"}));
    // An empty program text adds nothing.
    program()->setEditText(QString());
    click("Button1");
    QCOMPARE(program()->count(), 2);
    QCOMPARE(AppStore::programs(), QStringList({"/usr/bin/calc", "/usr/bin/writer"}));
}

void tst_TForm3::fileButtonsFillTheFields()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("schreiber"), QByteArray());
    m_form->openForHomework(QStringLiteral("Englisch"), QStringLiteral("08.12.2026"));
    // A chosen program without a suffix stays as it is.
    FileDialog::setNextFileName(env.path(QStringLiteral("schreiber")));
    click("SpeedButton1");
    QCOMPARE(program()->currentText(), env.path(QStringLiteral("schreiber")));
    // The file dialog adds "txt" to a new name without a suffix.
    FileDialog::setNextFileName(env.path(QStringLiteral("notizen")));
    click("SpeedButton2");
    QCOMPARE(file()->text(), env.path(QStringLiteral("notizen.txt")));
    // Cancelling changes nothing, and nothing is stored before "&OK".
    click("SpeedButton2");
    QCOMPARE(file()->text(), env.path(QStringLiteral("notizen.txt")));
    QVERIFY(AppStore::homeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch")).isEmpty());
    // The dialogs start at the current texts, with their filters in Qt's form.
    const QList<FileDialog::Request> asked = FileDialog::takeAsked();
    QCOMPARE(asked.size(), 3);
    QVERIFY(asked.at(0).filter.endsWith(QStringLiteral("Ausführbare Dateien (*.exe *.com *.bat);;Alle Dateien (*)")));
    QCOMPARE(asked.at(1).filter, QStringLiteral("Alle Dateien (*);;Textdateien (*.txt);;Word-Dokument (*.doc);;"
                                                "WordPro-Dokument (*.wps);;Excel-Tabelle (*.exl);;Write-Datei (*.wri);;Bitmap (*.bmp)"));
    QCOMPARE(asked.at(1).defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(asked.at(2).presetName, env.path(QStringLiteral("notizen.txt")));
}

QTEST_MAIN(tst_TForm3)
#include "tst_TForm3.moc"
