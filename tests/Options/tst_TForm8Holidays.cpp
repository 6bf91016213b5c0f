// The settings window's holiday tab: loading and saving the twelve fields, cancelling, the picker buttons.
#include "Options/TForm8.h"
#include "platform/Prompt.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#if __has_include("Kalder/TForm9.h")
#include "Kalder/TForm9.h"
#define KALMORA_HAS_DATE_PICKER 1
#endif

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

class tst_TForm8Holidays final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldsLoadAndSaveInKeyOrder();
    void cancelDropsEdits();
    void pickerButtons();

private:
    TemporaryConfigHome m_config;
};

namespace {

// Field names in key order: WINTER1, WINTER2, OSTERN1, OSTERN2, ... WEIHNACHTEN2.
const QStringList kFieldsInKeyOrder = {"Edit1", "Edit2", "Edit4", "Edit3", "Edit9", "Edit10",
                                       "Edit7", "Edit8", "Edit13", "Edit14", "Edit11", "Edit12"};

QWidget *holidayTab(TForm8 &form)
{
    return form.findChild<QWidget *>(QStringLiteral("TabFerien"));
}

QLineEdit *field(TForm8 &form, const QString &name)
{
    return holidayTab(form)->findChild<QLineEdit *>(name);
}

void clickButton(TForm8 &form, const QString &caption)
{
    for (QPushButton *b : holidayTab(form)->findChildren<QPushButton *>()) {
        if (b->text() == caption)
            return QTest::mouseClick(b, Qt::LeftButton);
    }
    QFAIL(qPrintable(caption));
}

void clickPicker(TForm8 &form, const QString &name)
{
    QTest::mouseClick(holidayTab(form)->findChild<QToolButton *>(name), Qt::LeftButton);
}

void showHolidayTab(TForm8 &form)
{
    form.show();
    form.findChild<QTabWidget *>()->setCurrentWidget(holidayTab(form));
}

}

void tst_TForm8Holidays::fieldsLoadAndSaveInKeyOrder()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[FERIEN]\nWEIHNACHTEN2=6.1.2027\nWEIHNACHTEN1=23.12.2026\nWINTER1=1.2.2027\n"
                                     "WINTER2=5.2.2027\nOSTERN1=29.3.2027\nOSTERN2=9.4.2027\nPFINGSTEN1=18.5.2027\n"
                                     "PFINGSTEN2=\nSOMMER1=29.7.2027\nSOMMER2=11.9.2027\nherbst1=2.11.2027\n"));
    TForm8 form;
    showHolidayTab(form);
    // Each key reaches its own field; missing and empty keys show empty text.
    QStringList texts;
    for (const QString &name : kFieldsInKeyOrder)
        texts.append(field(form, name)->text());
    QCOMPARE(texts, QStringList({"1.2.2027", "5.2.2027", "29.3.2027", "9.4.2027", "18.5.2027", "", "29.7.2027",
                                 "11.9.2027", "2.11.2027", "", "23.12.2026", "6.1.2027"}));

    // "Übernehmen" writes every key in key order, empty ones too, the text
    // unchecked; the window stays open and nothing is asked.
    const QStringList typed = {"24.1.2027", "", "22.3.2027", "2.4.2027", "", "", "1.8.2027", "Ende August",
                               "", "", "23.12.2027", "8.1.2028"};
    for (int i = 0; i < typed.size(); ++i) {
        field(form, kFieldsInKeyOrder[i])->clear();
        QTest::keyClicks(field(form, kFieldsInKeyOrder[i]), typed[i]);
    }
    QFile::remove(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    Prompt::takeAsked();
    clickButton(form, QStringLiteral("Ü&bernehmen"));
    QCOMPARE(env.settingsText(), QStringLiteral("[FERIEN]\nWINTER1=24.1.2027\nWINTER2=\nOSTERN1=22.3.2027\nOSTERN2=2.4.2027\n"
                                                "PFINGSTEN1=\nPFINGSTEN2=\nSOMMER1=1.8.2027\nSOMMER2=Ende August\n"
                                                "HERBST1=\nHERBST2=\nWEIHNACHTEN1=23.12.2027\nWEIHNACHTEN2=8.1.2028\n"));
    QVERIFY(form.isVisible());
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_TForm8Holidays::cancelDropsEdits()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[FERIEN]\nHERBST1=2.11.2027\n"));
    TForm8 form;
    showHolidayTab(form);
    field(form, QStringLiteral("Edit13"))->setText(QStringLiteral("30.10.2027"));
    QTest::keyClicks(field(form, QStringLiteral("Edit14")), QStringLiteral("6.11.2027"));
    clickButton(form, QStringLiteral("&Abbrechen"));
    QVERIFY(!form.isVisible());
    QCOMPARE(env.settingsText(), QStringLiteral("[FERIEN]\nHERBST1=2.11.2027\n"));
    // The next showing reads the stored texts again.
    form.show();
    QCOMPARE(field(form, QStringLiteral("Edit13"))->text(), QStringLiteral("2.11.2027"));
    QCOMPARE(field(form, QStringLiteral("Edit14"))->text(), QString());
}

void tst_TForm8Holidays::pickerButtons()
{
    TestEnvironment env;
    TForm8 form;
    form.move(120, 80);
    showHolidayTab(form);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The picker opens just below the field's lower left corner, moved by the
    // window frame as the position rule counts it: the left border out, the
    // lower border down.
    QLineEdit *edit = field(form, QStringLiteral("Edit8"));
    const QRect outer = form.frameGeometry();
    const QRect inner = form.geometry();
    QCOMPARE(form.PickerPosition(edit), edit->mapToGlobal(QPoint(0, edit->height()))
                                            + QPoint(outer.left() - inner.left(), outer.bottom() - inner.bottom()));

#ifdef KALMORA_HAS_DATE_PICKER
    // Each button opens the picker on its own field's text and puts the date
    // the picker holds back into that field; a text without a year opens on today.
    TForm9::setModalAnswer([](TForm9 &) {});
    QLineEdit *first = field(form, QStringLiteral("Edit7"));
    edit->setText(QStringLiteral("24.12.2026"));
    first->setText(QStringLiteral("5.3."));
    clickPicker(form, QStringLiteral("SpeedButton12"));
    QCOMPARE(first->text(), QStringLiteral("7.12.2026"));
    QCOMPARE(edit->text(), QStringLiteral("24.12.2026"));
    edit->setText(QStringLiteral("1.3.2027"));
    clickPicker(form, QStringLiteral("SpeedButton13"));
    QCOMPARE(edit->text(), QStringLiteral("1.3.2027"));
    // A part that is no number is reported, and the field keeps its text.
    Prompt::takeAsked();
    first->setText(QStringLiteral("x.3.2027"));
    clickPicker(form, QStringLiteral("SpeedButton12"));
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, QStringLiteral("'x' is not a valid integer value"));
    QCOMPARE(first->text(), QStringLiteral("x.3.2027"));
    TForm9::setModalAnswer({});
#endif
}

QTEST_MAIN(tst_TForm8Holidays)
#include "tst_TForm8Holidays.moc"
