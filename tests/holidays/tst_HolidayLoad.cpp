// Loading the state's holidays into the "Ferien" tab of the settings window, and the offer of the next school year.
#include "Options/TForm8.h"
#include "holidays/HolidayLoadDialog.h"
#include "holidays/NextSchoolYearOffer.h"
#include "platform/Prompt.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

class tst_HolidayLoad final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadIntoTheTab();
    void fillFromTheTable_data();
    void fillFromTheTable();
    void offerOfTheNextSchoolYear();

private:
    TemporaryConfigHome m_config;
};

namespace {

void copyTable(const TestEnvironment &env, const QByteArray &moreLines = {})
{
    QFile shipped(QFINDTESTDATA("../../data/holidays/schulferien.txt"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    env.writeFile(QStringLiteral("schulferien.txt"), shipped.readAll() + moreLines);
}

/// The twelve fields of the "Ferien" tab in the order of the school year.
QStringList fieldTexts(TForm8 &form)
{
    QStringList texts;
    for (const char *name : {"Edit13", "Edit14", "Edit11", "Edit12", "Edit1", "Edit2", "Edit4", "Edit3", "Edit9", "Edit10", "Edit7", "Edit8"})
        texts.append(form.findChild<QLineEdit *>(QLatin1String(name))->text());
    return texts;
}

template<class T>
T *control(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

HolidayLoadDialog *openDialog(TForm8 &form)
{
    QTest::mouseClick(control<QPushButton>(&form, "HolidayLoadButton"), Qt::LeftButton);
    return form.findChild<HolidayLoadDialog *>();
}

}

void tst_HolidayLoad::loadIntoTheTab()
{
    TestEnvironment env; // 7 December 2026
    copyTable(env, "Bayern; 2030/31; *; ?\n");
    env.writeSettings(QStringLiteral("[FERIEN]\nWINTER1=1.2.2027\nWINTER2=2.2.2027\n"));
    const QString before = env.settingsText();
    TForm8 form;
    form.show();
    form.findChild<QTabWidget *>()->setCurrentWidget(control<QWidget>(&form, "TabFerien"));

    HolidayLoadDialog *dialog = openDialog(form);
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(control<QComboBox>(dialog, "HolidayStateCombo")->count(), 16);
    QCOMPARE(control<QComboBox>(dialog, "HolidayYearCombo")->currentText(), QString("2026/27")); // the current one
    control<QComboBox>(dialog, "HolidayStateCombo")->setCurrentText("Bayern");
    const QTableWidget *preview = control<QTableWidget>(dialog, "HolidayPreview");
    QCOMPARE(preview->item(0, 1)->text(), QString("2.11.2026 – 6.11.2026"));
    QCOMPARE(preview->item(5, 1)->text(), QString("2.8.2027 – 13.9.2027"));

    control<QComboBox>(dialog, "HolidayYearCombo")->setCurrentText("2028/29");
    QCOMPARE(preview->item(0, 1)->text(), QString("30.10.2028 – 3.11.2028"));
    QCOMPARE(preview->item(0, 2)->text(), QString("22.11.2028"));

    // A school year without dates: a message naming the known ones, the dialog stays and nothing changes.
    control<QComboBox>(dialog, "HolidayYearCombo")->setCurrentText("2030/31");
    Prompt::takeAsked(); // the window's own note on the missing research catalogue
    QTest::mouseClick(control<QPushButton>(dialog, "HolidayApplyButton"), Qt::LeftButton);
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked[0].text.contains("Bekannt sind die Schuljahre 2025/26 bis 2029/30."), qPrintable(asked[0].text));
    QVERIFY(dialog->isVisible());
    QCOMPARE(control<QLineEdit>(&form, "Edit1")->text(), QString("1.2.2027"));

    // "Übernehmen" fills the twelve fields as the picker writes dates; nothing is stored yet.
    control<QComboBox>(dialog, "HolidayYearCombo")->setCurrentText("2026/27");
    QTest::mouseClick(control<QPushButton>(dialog, "HolidayApplyButton"), Qt::LeftButton);
    QCOMPARE(fieldTexts(form), QStringList({"2.11.2026", "6.11.2026", "24.12.2026", "8.1.2027", "8.2.2027", "12.2.2027", "22.3.2027",
                                 "2.4.2027", "18.5.2027", "28.5.2027", "2.8.2027", "13.9.2027"}));
    QCOMPARE(env.settingsText(), before);

    // The tab's own "Übernehmen" stores them and remembers the state and school year.
    QTest::mouseClick(control<QPushButton>(&form, "Button1"), Qt::LeftButton);
    const QString after = env.settingsText();
    QVERIFY2(after.contains("HERBST1=2.11.2026\n") && after.contains("SOMMER2=13.9.2027\n"), qPrintable(after));
    QVERIFY2(after.contains("[SCHULJAHR]\nBundesland=Bayern\nSchuljahr=2026/27\n"), qPrintable(after));
}

void tst_HolidayLoad::fillFromTheTable_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QStringList>("texts");
    // Whitsun of three single days: the first of them.
    QTest::newRow("Niedersachsen 2028/29") << "Niedersachsen" << "2028/29"
        << QStringList{"23.10.2028", "4.11.2028", "27.12.2028", "6.1.2029", "1.2.2029", "2.2.2029", "19.3.2029", "3.4.2029",
                       "30.4.2029", "30.4.2029", "19.7.2029", "29.8.2029"};
    // The amended autumn and a Whitsun in two pieces.
    QTest::newRow("Mecklenburg-Vorpommern 2026/27") << "Mecklenburg-Vorpommern" << "2026/27"
        << QStringList{"15.10.2026", "24.10.2026", "21.12.2026", "2.1.2027", "8.2.2027", "19.2.2027", "24.3.2027", "2.4.2027",
                       "14.5.2027", "18.5.2027", "5.7.2027", "14.8.2027"};
    // The last school year, autumn beside the day of prayer.
    QTest::newRow("Bayern 2029/30") << "Bayern" << "2029/30"
        << QStringList{"29.10.2029", "2.11.2029", "24.12.2029", "4.1.2030", "4.3.2030", "8.3.2030", "15.4.2030", "26.4.2030",
                       "11.6.2030", "21.6.2030", "29.7.2030", "9.9.2030"};
}

void tst_HolidayLoad::fillFromTheTable()
{
    QFETCH(QString, state);
    QFETCH(QString, year);
    QFETCH(QStringList, texts);
    TestEnvironment env;
    copyTable(env);
    TForm8 form;
    form.show();
    HolidayLoadDialog *dialog = openDialog(form);
    QVERIFY(dialog);
    control<QComboBox>(dialog, "HolidayStateCombo")->setCurrentText(state);
    control<QComboBox>(dialog, "HolidayYearCombo")->setCurrentText(year);
    QTest::mouseClick(control<QPushButton>(dialog, "HolidayApplyButton"), Qt::LeftButton);
    QCOMPARE(fieldTexts(form), texts);
}

void tst_HolidayLoad::offerOfTheNextSchoolYear()
{
    const QString filled = QStringLiteral("[FERIEN]\nHERBST1=2.11.2026\n[SCHULJAHR]\nBundesland=Bayern\nSchuljahr=2026/27\n");
    {
        // No state chosen: never asked, and the table is not even looked for.
        TestEnvironment env(QDateTime(QDate(2027, 9, 20), QTime(8, 0)));
        env.writeSettings(QStringLiteral("[FERIEN]\nHERBST1=2.11.2026\n"));
        NextSchoolYearOffer::run(nullptr);
        QVERIFY(Prompt::takeAsked().isEmpty());
    }
    {
        // On the last day of the summer holidays it is too early.
        TestEnvironment env(QDateTime(QDate(2027, 9, 13), QTime(8, 0)));
        copyTable(env);
        env.writeSettings(filled);
        NextSchoolYearOffer::run(nullptr);
        QVERIFY(Prompt::takeAsked().isEmpty());
    }
    {
        // Declined once, not asked again; nothing changes in "FERIEN".
        TestEnvironment env(QDateTime(QDate(2027, 9, 14), QTime(8, 0)));
        copyTable(env);
        env.writeSettings(filled);
        Prompt::queueAnswers({QMessageBox::No});
        NextSchoolYearOffer::run(nullptr);
        const QList<Prompt::Question> asked = Prompt::takeAsked();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].text.contains("2027/28 für Bayern"), qPrintable(asked[0].text));
        NextSchoolYearOffer::run(nullptr);
        QVERIFY(Prompt::takeAsked().isEmpty());
        QVERIFY(env.settingsText().contains("HERBST1=2.11.2026\n"));
    }
    {
        // "Ja" writes the next school year into "FERIEN" and remembers it.
        TestEnvironment env(QDateTime(QDate(2027, 10, 1), QTime(8, 0)));
        copyTable(env);
        env.writeSettings(filled);
        Prompt::queueAnswers({QMessageBox::Yes});
        NextSchoolYearOffer::run(nullptr);
        QCOMPARE(Prompt::takeAsked().size(), 1);
        const QString after = env.settingsText();
        QVERIFY2(after.contains("HERBST1=2.11.2027\n") && after.contains("WEIHNACHTEN2=7.1.2028\n"), qPrintable(after));
        QVERIFY2(after.contains("Schuljahr=2027/28\n"), qPrintable(after));
    }
}

QTEST_MAIN(tst_HolidayLoad)
#include "tst_HolidayLoad.moc"
