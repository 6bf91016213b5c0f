// The default application dialog of a subject, driven by its controls.
#include "dexec/TForm7.h"
#include "exec/AppStore.h"
#include "main2/HomeworkStore.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class tst_TForm7 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void showsAndStoresTheDefault();
    void defaultReachesNewHomeworkOnly();

private:
    QComboBox *program() { return m_form->findChild<QComboBox *>(QStringLiteral("ComboBox1")); }
    QLineEdit *file() { return m_form->findChild<QLineEdit *>(QStringLiteral("Edit1")); }
    void click(const char *name) { m_form->findChild<QPushButton *>(QLatin1String(name))->click(); }
    void define(const QString &subject, const QString &programText, const QString &fileText);

    std::unique_ptr<TForm7> m_form;
};

void tst_TForm7::init()
{
    m_form = std::make_unique<TForm7>();
}

void tst_TForm7::define(const QString &subject, const QString &programText, const QString &fileText)
{
    m_form->openForSubject(subject);
    program()->setEditText(programText);
    file()->setText(fileText);
    click("Button2");
}

void tst_TForm7::showsAndStoresTheDefault()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[PROGRAMMS]\n/usr/bin/writer=1\n/usr/bin/calc=1\n[DEFAULT]\nEnglisch=/usr/bin/writer?a?b.txt\n"));
    // Shown with the known programs and the default split at its first "?".
    m_form->openForSubject(QStringLiteral("Englisch"));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Englisch"));
    QCOMPARE(program()->count(), 2);
    QCOMPARE(program()->currentText(), QStringLiteral("/usr/bin/writer"));
    QCOMPARE(file()->text(), QStringLiteral("a?b.txt"));
    // Program only: stored alone, shown again with "Datei:" empty.
    file()->clear();
    click("Button2");
    QVERIFY(!m_form->isVisible());
    QVERIFY(env.settingsText().contains(QStringLiteral("[DEFAULT]\nEnglisch=/usr/bin/writer\n")));
    file()->setText(QStringLiteral("left over"));
    m_form->openForSubject(QStringLiteral("Englisch"));
    QCOMPARE(file()->text(), QString());
    // File only, and both empty, which is written too.
    define(QStringLiteral("Mathe"), QString(), QStringLiteral("formeln.txt"));
    define(QStringLiteral("Kunst"), QString(), QString());
    QVERIFY(env.settingsText().contains(QStringLiteral("Mathe=?formeln.txt\nKunst=\n")));
    // Opened for another subject while shown, the fields follow the new subject.
    m_form->openForSubject(QStringLiteral("Englisch"));
    m_form->openForSubject(QStringLiteral("Mathe"));
    QCOMPARE(program()->currentText(), QString());
    QCOMPARE(file()->text(), QStringLiteral("formeln.txt"));
    click("Button3");
    // An empty timetable cell opens nothing.
    m_form->openForSubject(QString());
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Mathe"));
}

void tst_TForm7::defaultReachesNewHomeworkOnly()
{
    TestEnvironment env;
    define(QStringLiteral("Englisch"), QStringLiteral("/usr/bin/writer"), QStringLiteral("vok.txt"));
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), QStringLiteral("Vokabeln"));
    define(QStringLiteral("Englisch"), QStringLiteral("/usr/bin/editor"), QString());
    HomeworkStore::addHomework(QStringLiteral("09.12.2026"), QStringLiteral("Englisch"), QStringLiteral("Text"));
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch")),
             (AppValue{QStringLiteral("/usr/bin/writer"), QStringLiteral("vok.txt")}));
    QCOMPARE(AppStore::homeworkApplication(QStringLiteral("09.12.2026"), QStringLiteral("Englisch")),
             (AppValue{QStringLiteral("/usr/bin/editor"), QString()}));
}

QTEST_MAIN(tst_TForm7)
#include "tst_TForm7.moc"
