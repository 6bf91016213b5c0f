// The events tab: adding, loading, replacing and removing events, the month grid, refused input, reorganisation.
#include "Options/EventTab.h"
#include "platform/FileDialog.h"
#include "platform/ProfileFile.h"
#include "platform/Prompt.h"
#include "platform/TCalendar.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QDir>
#include <QtTest>

class tst_EventTab final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { FileDialog::setUnattended(true); }
    void addsEachKind();
    void loadsAndReplaces();
    void removesAndReorganises();
    void monthGridAndHours();
    void refusesBadInput();
    void otherEventOnTheDate();
};

namespace {

template <typename T = QWidget>
T *child(EventTab &tab, const char *name)
{
    T *widget = tab.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void click(EventTab &tab, const char *name)
{
    QTest::mouseClick(child<QAbstractButton>(tab, name), Qt::LeftButton);
}

QStringList listed(EventTab &tab)
{
    QStringList names;
    auto *list = child<QListWidget>(tab, "ListBox1");
    for (int i = 0; i < list->count(); ++i)
        names.append(list->item(i)->text());
    return names;
}

void clickListItem(EventTab &tab, const QString &name)
{
    auto *list = child<QListWidget>(tab, "ListBox1");
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.constFirst()).center());
}

// Steps the month buttons to the date's month and clicks its day in the grid.
void pickDate(EventTab &tab, QDate date)
{
    auto *calendar = child<TCalendar>(tab, "Calendar1");
    while (calendar->year() * 12 + calendar->month() < date.year() * 12 + date.month())
        click(tab, "SpeedButton4");
    while (calendar->year() * 12 + calendar->month() > date.year() * 12 + date.month())
        click(tab, "SpeedButton3");
    for (int row = 1; row < TCalendar::Rows; ++row) {
        for (int column = 0; column < TCalendar::Columns; ++column) {
            if (calendar->cellText(column, row) == QString::number(date.day()))
                QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->cellRect(column, row).center());
        }
    }
    QCOMPARE(calendar->date(), date);
}

void fill(EventTab &tab, const QString &name, const QString &time, bool timed, const QString &message)
{
    child<QLineEdit>(tab, "Edit5")->setText(name);
    child<QComboBox>(tab, "ComboBox1")->setEditText(time);
    child<QCheckBox>(tab, "CheckBox1")->setChecked(timed);
    child<QPlainTextEdit>(tab, "Memo1")->setPlainText(message);
}

void showTab(EventTab &tab)
{
    tab.resize(650, 400);
    tab.show();
    tab.LoadEventTab();
}

}

void tst_EventTab::addsEachKind()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("gong.wav"), "RIFF");
    EventTab tab;
    showTab(tab);

    // A one-time, time-dependent event with sound and two lines: every record in order.
    FileDialog::setNextFileName(env.path(QStringLiteral("gong.wav")));
    click(tab, "Button4");
    const FileDialog::Request asked = FileDialog::takeAsked().value(0);
    QCOMPARE(asked.title, QStringLiteral("Wavedatei einfuegen..."));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("WAV"));
    // Without a sound yet (or with a bare name) it opens in the program directory, where the supplied sounds lie.
    QCOMPARE(QDir(FileDialog::initialFolder(asked)).canonicalPath(), QDir(env.dir()).canonicalPath());
    QCOMPARE(child<QLineEdit>(tab, "Edit6")->text(), env.path(QStringLiteral("gong.wav")));
    fill(tab, QStringLiteral("Klassenarbeit"), QStringLiteral("14:30"), true, QStringLiteral("Mathe\nHeft mitbringen\n"));
    pickDate(tab, QDate(2026, 12, 15));
    click(tab, "Button3");
    QCOMPARE(env.settingsText(),
             QStringLiteral("[TERMIN]\n15.12.2026=Klassenarbeit\n[SOUND]\nKlassenarbeit=%1\n[TIME]\nKlassenarbeit=#14:30\n"
                            "[MEMO]\nKlassenarbeit#=1\nKlassenarbeit0=Mathe\nKlassenarbeit1=Heft mitbringen\n")
                 .arg(env.path(QStringLiteral("gong.wav"))));
    QCOMPARE(listed(tab), QStringList{QStringLiteral("Klassenarbeit")});

    // The other kinds write their own sections; switching the kind refills
    // the list and keeps the fields. An empty message writes "-1" and no line.
    const QList<std::pair<const char *, const char *>> kinds = {
        {"RadioButton2", "WEEKLY"}, {"RadioButton3", "MONTHLY"}, {"RadioButton4", "YEARLY"}};
    QString previous = QStringLiteral("Klassenarbeit");
    for (const auto &[radio, section] : kinds) {
        click(tab, radio);
        QVERIFY(listed(tab).isEmpty());
        QCOMPARE(child<QLineEdit>(tab, "Edit5")->text(), previous);
        const QString name = QString::fromLatin1(section).toLower();
        fill(tab, name, QStringLiteral("7:00"), false, QString());
        click(tab, "Button3");
        const ProfileFile ini(env.path(QStringLiteral("DEZUVEDIRED.INI")));
        QCOMPARE(ini.readString(QString::fromLatin1(section), u"15.12.2026", QString()), name);
        QCOMPARE(ini.readString(u"TIME", name, QString()), QStringLiteral("7:00"));
        QCOMPARE(ini.readString(u"MEMO", QString(name + u'#'), QString()), QStringLiteral("-1"));
        QVERIFY(!ini.keys(u"MEMO").contains(name + u'0'));
        previous = name;
    }

    // The list is sorted as a pupil reads it, whatever the file order; the
    // name is stored without outer blanks and with "=" made "-".
    click(tab, "RadioButton1");
    const QStringList names = {"beta", "Zeugnis", "Ärger", "Alpha", "  Test=1 "};
    for (int i = 0; i < names.size(); ++i) {
        pickDate(tab, QDate(2027, 1, i + 1));
        fill(tab, names[i], QStringLiteral("6:00"), false, QString());
        click(tab, "Button3");
    }
    QCOMPARE(listed(tab), QStringList({"Alpha", "Ärger", "beta", "Klassenarbeit", "Test-1", "Zeugnis"}));
    // Adding the same typed name again replaces it instead of listing it twice.
    pickDate(tab, QDate(2027, 2, 1));
    click(tab, "Button3");
    QCOMPARE(listed(tab).count(QStringLiteral("Test-1")), 1);
    const ProfileFile ini(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QCOMPARE(ini.readString(u"Termin", u"1.2.2027", QString()), QStringLiteral("Test-1"));
    QCOMPARE(ini.readString(u"Termin", u"5.1.2027", QString()), QString());
}

void tst_EventTab::loadsAndReplaces()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[WEEKLY]\n31.5.2026=Chor\n14.12.2026=Sport\n[TIME]\nChor=#16:15\nSport=6:00\n"
                                     "[SOUND]\nChor=chor.wav\n[MEMO]\nChor#=2\nChor0=Noten\nChor1=\nChor2=Mappe\n"));
    EventTab tab;
    showTab(tab);
    click(tab, "RadioButton2");
    QCOMPARE(listed(tab), QStringList({"Chor", "Sport"}));

    // Selecting loads every field; the calendar moves to the stored date from
    // another month, the caption with it.
    pickDate(tab, QDate(2026, 4, 30));
    clickListItem(tab, QStringLiteral("Chor"));
    QCOMPARE(child<QLineEdit>(tab, "Edit5")->text(), QStringLiteral("Chor"));
    QCOMPARE(child<TCalendar>(tab, "Calendar1")->date(), QDate(2026, 5, 31));
    QCOMPARE(child<QToolButton>(tab, "SpeedButton5")->text(), QStringLiteral("Mai - 2026"));
    QCOMPARE(child<QLineEdit>(tab, "Edit6")->text(), QStringLiteral("chor.wav"));
    QVERIFY(child<QCheckBox>(tab, "CheckBox1")->isChecked());
    QCOMPARE(child<QComboBox>(tab, "ComboBox1")->currentText(), QStringLiteral("16:15"));
    QCOMPARE(child<QPlainTextEdit>(tab, "Memo1")->toPlainText(), QStringLiteral("Noten\n\nMappe"));

    // A click on the selected item loads it again over edited fields.
    child<QLineEdit>(tab, "Edit6")->setText(QStringLiteral("anders.wav"));
    clickListItem(tab, QStringLiteral("Chor"));
    QCOMPARE(child<QLineEdit>(tab, "Edit6")->text(), QStringLiteral("chor.wav"));

    // Saving it again on another date moves it and leaves no stale message line.
    child<QPlainTextEdit>(tab, "Memo1")->setPlainText(QStringLiteral("Nur Noten"));
    child<QCheckBox>(tab, "CheckBox1")->setChecked(false);
    pickDate(tab, QDate(2026, 6, 7));
    click(tab, "Button3");
    QCOMPARE(listed(tab), QStringList({"Chor", "Sport"}));
    const ProfileFile ini(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QCOMPARE(ini.entries(u"WEEKLY"), QStringList({"14.12.2026=Sport", "7.6.2026=Chor"}));
    QCOMPARE(ini.readString(u"TIME", u"Chor", QString()), QStringLiteral("16:15"));
    QCOMPARE(ini.keys(u"MEMO"), QStringList({"Chor#", "Chor0"}));
}

void tst_EventTab::removesAndReorganises()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[TERMIN]\n1.12.2026=Test\n2.12.2026=Probe\n[TIME]\nTest=#8:00\nProbe=9:00\nAlt=1:00\n"
                                     "[SOUND]\nTest=a.wav\nProbe=b.wav\n[MEMO]\nTest#=1\nTest0=x\nTest1=y\nProbe#=0\n"
                                     "Probe0=z\n[ERINNERN]\n3.12.2026 8:5:0=Alt\n"));
    EventTab tab;
    showTab(tab);

    // "Entfernen" takes only the kind entry and resets every field.
    clickListItem(tab, QStringLiteral("Test"));
    child<QComboBox>(tab, "ComboBox1")->setEditText(QStringLiteral("11:11"));
    click(tab, "Button8");
    QCOMPARE(listed(tab), QStringList{QStringLiteral("Probe")});
    QCOMPARE(child<QListWidget>(tab, "ListBox1")->selectedItems().size(), 0);
    QCOMPARE(child<QLineEdit>(tab, "Edit5")->text(), QString());
    QCOMPARE(child<QLineEdit>(tab, "Edit6")->text(), QString());
    QVERIFY(!child<QCheckBox>(tab, "CheckBox1")->isChecked());
    QCOMPARE(child<QComboBox>(tab, "ComboBox1")->currentText(), QStringLiteral("6:00"));
    QVERIFY(child<QPlainTextEdit>(tab, "Memo1")->toPlainText().isEmpty());
    QVERIFY(env.settingsText().contains(QStringLiteral("Test=#8:00")));
    QVERIFY(!env.settingsText().contains(QStringLiteral("=Test\n")));

    // Without a selection it only resets the fields.
    const QString before = env.settingsText();
    child<QLineEdit>(tab, "Edit5")->setText(QStringLiteral("Probe"));
    click(tab, "Button8");
    QCOMPARE(env.settingsText(), before);
    QCOMPARE(child<QLineEdit>(tab, "Edit5")->text(), QString());

    // Reorganisation purges the left-overs of Test; Probe and the snoozed Alt keep theirs.
    click(tab, "Button7");
    const ProfileFile ini(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QCOMPARE(ini.keys(u"TIME"), QStringList({"Probe", "Alt"}));
    QCOMPARE(ini.keys(u"SOUND"), QStringList{QStringLiteral("Probe")});
    QCOMPARE(ini.keys(u"MEMO"), QStringList({"Probe#", "Probe0"}));
    QCOMPARE(ini.entries(u"TERMIN"), QStringList{QStringLiteral("2.12.2026=Probe")});
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_EventTab::monthGridAndHours()
{
    TestEnvironment env(QDateTime(QDate(2026, 3, 31), QTime(9, 0)));
    EventTab tab;
    showTab(tab);
    auto *calendar = child<TCalendar>(tab, "Calendar1");
    auto *caption = child<QToolButton>(tab, "SpeedButton5");
    QCOMPARE(calendar->date(), QDate(2026, 3, 31));
    QCOMPARE(caption->text(), QStringLiteral("März - 2026"));
    QCOMPARE(calendar->cellText(0, 0), QStringLiteral("Mo"));
    QCOMPARE(calendar->cellText(1, 1), QStringLiteral("")); // 1.3.2026 is a Sunday: last column
    QCOMPARE(calendar->cellText(6, 1), QStringLiteral("1"));

    // Back into February keeps the day where February has it; across the year boundary both ways.
    click(tab, "SpeedButton3");
    QCOMPARE(calendar->date(), QDate(2026, 2, 28));
    QCOMPARE(caption->text(), QStringLiteral("Februar - 2026"));
    for (int i = 0; i < 2; ++i)
        click(tab, "SpeedButton3");
    QCOMPARE(caption->text(), QStringLiteral("Dezember - 2025"));
    click(tab, "SpeedButton4");
    QCOMPARE(caption->text(), QStringLiteral("Januar - 2026"));
    // A click on a day changes the date, not the caption's month.
    QTest::mouseClick(calendar, Qt::LeftButton, {}, calendar->cellRect(3, 3).center());
    QCOMPARE(calendar->date(), QDate(2026, 1, 15));
    QCOMPARE(caption->text(), QStringLiteral("Januar - 2026"));
    // "aktueller Monat" returns to today.
    click(tab, "SpeedButton5");
    QCOMPARE(calendar->date(), QDate(2026, 3, 31));
    QCOMPARE(caption->text(), QStringLiteral("März - 2026"));

    // Every full hour, "6:00" at first; typed text is not added to the list.
    auto *hours = child<QComboBox>(tab, "ComboBox1");
    QCOMPARE(hours->count(), 24);
    QCOMPARE(hours->itemText(0), QStringLiteral("1:00"));
    QCOMPARE(hours->itemText(23), QStringLiteral("24:00"));
    QCOMPARE(hours->currentText(), QStringLiteral("6:00"));
    hours->lineEdit()->selectAll();
    QTest::keyClicks(hours->lineEdit(), QStringLiteral("7:45"));
    QTest::keyClick(hours->lineEdit(), Qt::Key_Return);
    QCOMPARE(hours->count(), 24);
    QCOMPARE(hours->currentText(), QStringLiteral("7:45"));
}

void tst_EventTab::refusesBadInput()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[YEARLY]\n1.1.2027=Probe\n[TERMIN]\n2.1.2027=probe\n"));
    EventTab tab;
    showTab(tab);
    const QString stored = env.settingsText();

    // An empty name, or one of blanks only, writes nothing and asks nothing.
    for (const QString &name : {QString(), QStringLiteral("   ")}) {
        fill(tab, name, QStringLiteral("6:00"), false, QStringLiteral("x"));
        click(tab, "Button3");
    }
    QCOMPARE(env.settingsText(), stored);
    QVERIFY(Prompt::takeAsked().isEmpty());

    // A time-dependent event needs a time of day; without the flag any text is kept.
    for (const QString &time : {QStringLiteral("24:00"), QStringLiteral("halb acht")}) {
        fill(tab, QStringLiteral("Neu"), time, true, QString());
        click(tab, "Button3");
        const QList<Prompt::Question> asked = Prompt::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Achtung!"));
        QVERIFY(asked[0].text.contains(time));
    }
    QCOMPARE(env.settingsText(), stored);
    fill(tab, QStringLiteral("Neu"), QStringLiteral("#halb acht"), false, QString());
    click(tab, "Button3");
    QVERIFY(env.settingsText().contains(QStringLiteral("\nNeu=halb acht\n")));

    // A name that differs from a stored one only in letter case would share its records.
    click(tab, "RadioButton4");
    fill(tab, QStringLiteral("PROBE"), QStringLiteral("6:00"), false, QStringLiteral("überschrieben"));
    const QString beforeVariant = env.settingsText();
    click(tab, "Button3");
    QCOMPARE(Prompt::takeAsked().value(0).title, QStringLiteral("Achtung!"));
    QCOMPARE(env.settingsText(), beforeVariant);
    // A name stored as it is stays savable, also beside a variant in an old file.
    fill(tab, QStringLiteral("Probe"), QStringLiteral("6:00"), false, QString());
    click(tab, "Button3");
    QVERIFY(Prompt::takeAsked().isEmpty());
    QVERIFY(env.settingsText().contains(QStringLiteral("7.12.2026=Probe")));

    // A sound file that is not there is not taken; a cancelled dialog changes nothing.
    child<QLineEdit>(tab, "Edit6")->setText(QStringLiteral("alt.wav"));
    FileDialog::setNextFileName(env.path(QStringLiteral("fehlt.wav")));
    click(tab, "Button4");
    QCOMPARE(Prompt::takeAsked().value(0).text, QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(env.path(QStringLiteral("fehlt.wav"))));
    click(tab, "Button4");
    QCOMPARE(child<QLineEdit>(tab, "Edit6")->text(), QStringLiteral("alt.wav"));

    // Typing stops at 255 characters; a longer stored message is still shown whole.
    auto *memo = child<QPlainTextEdit>(tab, "Memo1");
    memo->clear();
    QTest::keyClicks(memo, QString(250, u'a'));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("bbbbbbbbbb"));
    QCOMPARE(memo->toPlainText().size(), EventTab::MessageLength);
    memo->insertPlainText(QStringLiteral("ccc"));
    QCOMPARE(memo->toPlainText(), QString(250, u'a') + QStringLiteral("\nbbbb"));
    env.writeSettings(QStringLiteral("[YEARLY]\n1.1.2027=Lang\n[MEMO]\nLang#=0\nLang0=") + QString(300, u'x') + u'\n');
    tab.LoadEventTab();
    clickListItem(tab, QStringLiteral("Lang"));
    QCOMPARE(memo->toPlainText().size(), 300);
}

void tst_EventTab::otherEventOnTheDate()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[TERMIN]\n7.12.2026=Probe\n[TIME]\nProbe=#8:00\n"));
    EventTab tab;
    showTab(tab);

    // A new name on a taken date asks first; "Nein" writes nothing.
    fill(tab, QStringLiteral("Test"), QStringLiteral("6:00"), false, QString());
    const QString before = env.settingsText();
    Prompt::queueAnswers({QMessageBox::No});
    click(tab, "Button3");
    QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, QStringLiteral("Am 7.12.2026 ist schon das Ereignis \"Probe\" eingetragen.\n"
                                           "Soll es durch \"Test\" ersetzt werden?"));
    QCOMPARE(asked[0].defaultButton, QMessageBox::No);
    QCOMPARE(env.settingsText(), before);
    QCOMPARE(listed(tab), QStringList{QStringLiteral("Probe")});

    // "Ja" replaces it, and the list shows what the file now holds.
    Prompt::queueAnswers({QMessageBox::Yes});
    click(tab, "Button3");
    QCOMPARE(listed(tab), QStringList{QStringLiteral("Test")});
    const ProfileFile ini(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QCOMPARE(ini.entries(u"TERMIN"), QStringList{QStringLiteral("7.12.2026=Test")});
    QCOMPARE(Prompt::takeAsked().size(), 1);

    // Saving an event again on its own date asks nothing.
    click(tab, "Button3");
    QVERIFY(Prompt::takeAsked().isEmpty());
}

QTEST_MAIN(tst_EventTab)
#include "tst_EventTab.moc"
