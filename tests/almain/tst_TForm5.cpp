// The alarm list window, driven through its controls: sorting, new alarms, messages, deleting, sounds.
#include "Kalder/TForm9.h"
#include "almain/TForm5.h"
#include "platform/FileDialog.h"
#include "platform/TCalendar.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QDir>
#include <QtTest>

namespace {
template <typename T>
T *control(const TForm5 &form, const char *name)
{
    T *found = form.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QListWidget *list(const TForm5 &form)
{
    return control<QListWidget>(form, "ListBox1");
}

QStringList listed(const TForm5 &form)
{
    QStringList texts;
    for (int row = 0; row < list(form)->count(); ++row)
        texts.append(list(form)->item(row)->text());
    return texts;
}

QString label(const TForm5 &form)
{
    return control<QLabel>(form, "Label2")->text();
}

QLineEdit *message(const TForm5 &form)
{
    return control<QLineEdit>(form, "Edit1");
}

void clickItem(const TForm5 &form, const QString &text)
{
    QListWidget *box = list(form);
    const QList<QListWidgetItem *> items = box->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(items.constFirst()).center());
}

void click(const TForm5 &form, const char *button)
{
    control<QAbstractButton>(form, button)->click();
}

// The new-alarm button, with the picker answering `date`; returns where the picker stood.
QPoint pickNewAlarm(const TForm5 &form, QDate date, QDate *shownFirst = nullptr)
{
    QPoint position;
    TForm9::setModalAnswer([&](TForm9 &picker) {
        position = picker.pos();
        auto *grid = picker.findChild<TCalendar *>(QStringLiteral("Calendar1"));
        if (shownFirst)
            *shownFirst = grid->date();
        grid->setDate(date);
    });
    click(form, "SpeedButton1");
    TForm9::setModalAnswer({});
    return position;
}
}

class tst_TForm5 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { FileDialog::setUnattended(true); }
    void sortsOnEveryShowing();
    void newAlarm();
    void editsMessages();
    void deletes();
    void choosesTheSound();
};

void tst_TForm5::sortsOnEveryShowing()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[ALARM]\n15.04.2026=Ostern\n01.02.2027=\n03.03.2026=Zahnarzt\n"
                                     "[SOUNDS]\n15.04.2026=/snd/x.wav\n"));
    TForm5 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Alarm"));
    form.show();
    // By date, not by text; the empty message keeps its key and value.
    const QStringList sorted{"03.03.2026", "15.04.2026", "01.02.2027"};
    QCOMPARE(listed(form), sorted);
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUNDS]\n15.04.2026=/snd/x.wav\n"
                                                "[ALARM]\n03.03.2026=Zahnarzt\n15.04.2026=Ostern\n01.02.2027=\n"));
    QCOMPARE(label(form), QStringLiteral("Meldung:"));
    QVERIFY(message(form)->text().isEmpty());

    // A new alarm stands at the end until the next showing puts it in its
    // place; the next showing also drops the selection and an unsaved edit.
    pickNewAlarm(form, QDate(2026, 1, 9));
    QCOMPARE(listed(form), sorted + QStringList{"09.01.2026"});
    clickItem(form, QStringLiteral("15.04.2026"));
    message(form)->setText(QStringLiteral("nicht gespeichert"));
    form.hide();
    form.show();
    QCOMPARE(listed(form), QStringList({"09.01.2026", "03.03.2026", "15.04.2026", "01.02.2027"}));
    QVERIFY(list(form)->selectedItems().isEmpty());
    QCOMPARE(label(form), QStringLiteral("Meldung:"));
    QVERIFY(message(form)->text().isEmpty());
    QVERIFY(env.settingsText().contains(QStringLiteral("15.04.2026=Ostern\n")));
}

void tst_TForm5::newAlarm()
{
    TestEnvironment env; // 7 December 2026
    env.writeSettings(QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n"));
    TForm5 form;
    form.show();
    // The picker opens on today, just below the button, and its date becomes
    // the key with two-digit day and month and the message "Alarm".
    QDate shownFirst;
    const QPoint position = pickNewAlarm(form, QDate(2027, 1, 5), &shownFirst);
    QCOMPARE(shownFirst, QDate(2026, 12, 7));
    QToolButton *button = control<QToolButton>(form, "SpeedButton1");
    const QPoint belowButton = button->mapToGlobal(QPoint(0, button->height()));
    QVERIFY2(position.y() >= belowButton.y() && position.y() <= belowButton.y() + 8
                 && qAbs(position.x() - belowButton.x()) <= 8,
             qPrintable(QStringLiteral("%1,%2").arg(position.x()).arg(position.y())));
    QCOMPARE(listed(form), QStringList({"03.03.2026", "05.01.2027"}));
    QCOMPARE(env.settingsText(), QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n05.01.2027=Alarm\n"));
    QCOMPARE(label(form), QStringLiteral("Meldung:"));

    // A date that already has an alarm keeps its message and is listed once,
    // selected so that the pupil sees it.
    pickNewAlarm(form, QDate(2026, 3, 3));
    QCOMPARE(listed(form), QStringList({"03.03.2026", "05.01.2027"}));
    QCOMPARE(env.settingsText(), QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n05.01.2027=Alarm\n"));
    QCOMPARE(label(form), QStringLiteral("03.03.2026"));
    QCOMPARE(message(form)->text(), QStringLiteral("Zahnarzt"));
}

void tst_TForm5::editsMessages()
{
    TestEnvironment env;
    const QString stored = QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n15.04.2026=Ostern\n");
    env.writeSettings(stored);
    TForm5 form;
    form.show();
    // Without a selected alarm neither the save button nor "&OK" writes.
    message(form)->setText(QStringLiteral("ins Leere"));
    click(form, "SpeedButton3");
    click(form, "Button1");
    QVERIFY(!form.isVisible());
    QCOMPARE(env.settingsText(), stored);

    // Selecting shows the date and its message; saving keeps the window open.
    form.show();
    clickItem(form, QStringLiteral("15.04.2026"));
    QCOMPARE(label(form), QStringLiteral("15.04.2026"));
    QCOMPARE(message(form)->text(), QStringLiteral("Ostern"));
    message(form)->setText(QStringLiteral("Ferienbeginn"));
    click(form, "SpeedButton3");
    QVERIFY(form.isVisible());
    QCOMPARE(env.settingsText(), QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n15.04.2026=Ferienbeginn\n"));

    // Keys move the selection too.
    QTest::keyClick(list(form), Qt::Key_Up);
    QCOMPARE(label(form), QStringLiteral("03.03.2026"));
    QCOMPARE(message(form)->text(), QStringLiteral("Zahnarzt"));

    // "&Abbrechen" hides without writing; "&OK" writes, also an empty message, and hides.
    message(form)->setText(QStringLiteral("verworfen"));
    click(form, "Button2");
    QVERIFY(!form.isVisible());
    QCOMPARE(env.settingsText(), QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n15.04.2026=Ferienbeginn\n"));
    form.show();
    clickItem(form, QStringLiteral("03.03.2026"));
    message(form)->clear();
    click(form, "Button1");
    QVERIFY(!form.isVisible());
    QCOMPARE(env.settingsText(), QStringLiteral("[ALARM]\n03.03.2026=\n15.04.2026=Ferienbeginn\n"));
}

void tst_TForm5::deletes()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[ALARM]\n01.02.2026=\n03.03.2026=Zahnarzt\n15.04.2026=Ostern\n"
                                     "[SOUNDS]\n03.03.2026=/snd/z.wav\n"));
    TForm5 form;
    form.show();
    clickItem(form, QStringLiteral("03.03.2026"));
    click(form, "SpeedButton2");
    // Gone from list and file; the others stay, the empty message too, and the sound stays.
    QCOMPARE(listed(form), QStringList({"01.02.2026", "15.04.2026"}));
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUNDS]\n03.03.2026=/snd/z.wav\n"
                                                "[ALARM]\n01.02.2026=\n15.04.2026=Ostern\n"));
    // Nothing is selected afterwards, so the next save or delete does nothing.
    QVERIFY(list(form)->selectedItems().isEmpty());
    QCOMPARE(label(form), QStringLiteral("Meldung:"));
    QVERIFY(message(form)->text().isEmpty());
    const QString after = env.settingsText();
    message(form)->setText(QStringLiteral("x"));
    click(form, "SpeedButton2");
    click(form, "SpeedButton3");
    QCOMPARE(listed(form).size(), 2);
    QCOMPARE(env.settingsText(), after);
}

void tst_TForm5::choosesTheSound()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n"));
    TForm5 form;
    form.show();
    auto *menu = control<QMenu>(form, "PopupMenu1");
    QCOMPARE(menu->actions().size(), 1);
    QAction *choose = menu->actions().constFirst();
    QCOMPARE(choose->text(), QStringLiteral("Wave-File bestimmen"));

    // Without a selected alarm no dialog opens.
    choose->trigger();
    QVERIFY(FileDialog::takeAsked().isEmpty());

    // The dialog starts from the default sound; the chosen path is stored, with
    // the default extension added to a name without one.
    clickItem(form, QStringLiteral("03.03.2026"));
    FileDialog::setNextFileName(env.path(QStringLiteral("wecker")));
    choose->trigger();
    QList<FileDialog::Request> asked = FileDialog::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Wave-File bestimmen"));
    QVERIFY(asked[0].filter.startsWith(QStringLiteral("Wave-Dateien (*.WAV)")));
    QVERIFY(asked[0].filter.endsWith(QStringLiteral(";;Alle Dateien (*)")));
    QCOMPARE(asked[0].defaultSuffix, QStringLiteral("WAV"));
    QCOMPARE(asked[0].presetName, QStringLiteral("STANDARD.WAV"));
    // The bare default name opens in the program directory, where the supplied sounds lie.
    QCOMPARE(QDir(FileDialog::initialFolder(asked[0])).canonicalPath(), QDir(env.dir()).canonicalPath());
    const QString chosen = env.path(QStringLiteral("wecker.WAV"));
    QCOMPARE(env.settingsText(), QStringLiteral("[ALARM]\n03.03.2026=Zahnarzt\n[SOUNDS]\n03.03.2026=") + chosen + u'\n');

    // The next time it starts from the chosen file; cancelling changes nothing.
    FileDialog::setNextFileName(QString());
    choose->trigger();
    asked = FileDialog::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].presetName, chosen);
    QVERIFY(env.settingsText().endsWith(QStringLiteral("03.03.2026=") + chosen + u'\n'));

    // The entry is the pop-up menu of the list.
    Q_EMIT list(form)->customContextMenuRequested(QPoint(4, 4));
    QVERIFY(menu->isVisible());
    menu->hide();
}

QTEST_MAIN(tst_TForm5)
#include "tst_TForm5.moc"
