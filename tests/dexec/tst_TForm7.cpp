// The default application dialog of a subject, driven by its controls.
#include "dexec/TForm7.h"
#include "model/AppStore.h"
#include "model/HomeworkStore.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionFrame>
#include <QtTest>

namespace {
// The width a line edit has for its text: inside its frame and text margins,
// less its own margin of two pixels on either side and the cursor after the
// last character, which otherwise scrolls the text.
int textRoom(const QLineEdit *edit)
{
    QStyleOptionFrame panel;
    panel.initFrom(edit);
    panel.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, edit) : 0;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &panel, edit);
    return contents.marginsRemoved(edit->textMargins()).width() - 2 * 2 - 1;
}
}

class tst_TForm7 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void showsAndStoresTheDefault();
    void defaultReachesNewHomeworkOnly();
    void noSubjectNoKey();
    void focusAndTabOrder();
    void fieldsShowAWholePath();

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

void tst_TForm7::noSubjectNoKey()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[DEFAULT]\nEnglisch=/usr/bin/writer\n"));
    // A slot of blanks names no subject either: the key would lose them.
    m_form->openForSubject(QStringLiteral("  "));
    QVERIFY(!m_form->isVisible());
    // Shown without a subject some other way, "&OK" closes it and writes no key.
    m_form->show();
    program()->setEditText(QStringLiteral("/usr/bin/editor"));
    click("Button2");
    QVERIFY(!m_form->isVisible());
    QCOMPARE(env.settingsText(), QStringLiteral("[DEFAULT]\nEnglisch=/usr/bin/writer\n"));
}

void tst_TForm7::focusAndTabOrder()
{
    TestEnvironment env;
    m_form->openForSubject(QStringLiteral("Englisch"));
    // It opens on "&OK", also when opened again after the focus moved on.
    QCOMPARE(m_form->focusWidget(), m_form->findChild<QPushButton *>(QStringLiteral("Button2")));
    file()->setFocus();
    click("Button3");
    m_form->openForSubject(QStringLiteral("Englisch"));
    QCOMPARE(m_form->focusWidget()->objectName(), QStringLiteral("Button2"));
    // Tab runs "&OK", "&Abbruch", the program, the file and "&Hinzufügen", each
    // file button right after its field, and comes round to "&OK" again.
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QWidget *focus = m_form->focusWidget();
        if (focus == program()->lineEdit())
            focus = program();
        visited.append(focus->objectName());
        QTest::keyClick(m_form->focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, QStringList({"Button2", "Button3", "ComboBox1", "SpeedButton1", "Edit1", "SpeedButton2", "Button1", "Button2"}));
}

void tst_TForm7::fieldsShowAWholePath()
{
    TestEnvironment env;
    // Ordinary paths of 40 characters, and a program path longer than that in
    // the list, which must not widen the dialog.
    const QStringList paths = {QStringLiteral("/usr/lib/libreoffice/program/soffice.bin"),
                               QStringLiteral("/home/schueler/Dokumente/Englisch/Vo.odt"),
                               QStringLiteral("/home/Maximilian/Wochenplan/Mathe-WM.ods")};
    env.writeSettings(QStringLiteral("[PROGRAMMS]\n/usr/local/share/eine/sehr/lange/liste/von/ordnern/und/noch/mehr/programm=1\n"));
    m_form->openForSubject(QStringLiteral("Englisch"));
    const QFontMetrics metrics(program()->font());
    for (const QString &path : paths) {
        QCOMPARE(path.size(), 40);
        QVERIFY2(metrics.horizontalAdvance(path) <= textRoom(program()->lineEdit()), qPrintable(path));
        QVERIFY2(metrics.horizontalAdvance(path) <= textRoom(file()), qPrintable(path));
    }
    QVERIFY(m_form->width() < 640);
}

QTEST_MAIN(tst_TForm7)
#include "tst_TForm7.moc"
