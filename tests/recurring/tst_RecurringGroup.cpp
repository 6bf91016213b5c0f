// The rules of recurring homework on the "Extras" tab of the settings window: listed, and ended there.
#include "Options/TForm8.h"
#include "extras/ExtrasTab.h"
#include "model/HomeworkStore.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "recurring/RecurringExtras.h"
#include "recurring/RecurringHomework.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QtTest>

class tst_RecurringGroup final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void endsTheChosenRule();

private:
    TemporaryConfigHome m_config;
};

void tst_RecurringGroup::endsTheChosenRule()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
    env.writeSettings(QStringLiteral("[Montag]\n2=Mathematik\n[Dienstag]\n1=Deutsch\n"));
    RecurringHomework::addRule(QStringLiteral("Mathematik"), QStringLiteral("Vokabeln lernen"));
    RecurringHomework::addRule(QStringLiteral("Deutsch"), QStringLiteral("Lesen"));
    QCOMPARE(RecurringHomework::apply(), 2);

    TForm8 form;
    RecurringExtras::install(form.extrasTab());
    form.show();
    Prompt::takeAsked(); // the research tab names its missing catalogue
    form.findChild<QTabWidget *>(QStringLiteral("PageControl1"))->setCurrentWidget(form.extrasTab());
    auto *list = form.findChild<QListWidget *>(QStringLiteral("RuleList"));
    auto *end = form.findChild<QPushButton *>(QStringLiteral("EndRuleButton"));
    QVERIFY(list && end);
    // The groups of the tab scroll when they outgrow it.
    QVERIFY(form.extrasTab()->findChild<QScrollArea *>()->isAncestorOf(list));

    // Listed as "Fach: Text"; the button waits for a choice.
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Mathematik: Vokabeln lernen"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("Deutsch: Lesen"));
    QVERIFY(!end->isEnabled());

    // Ending the chosen rule removes it; the homework it entered stays, and it enters no more.
    list->setCurrentRow(0);
    QVERIFY(end->isEnabled());
    end->click();
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Deutsch: Lesen"));
    QCOMPARE(RecurringHomework::rules().size(), 1);
    QCOMPARE(HomeworkStore::readText(QStringLiteral("14.12.2026"), QStringLiteral("Mathematik")), QStringLiteral("Vokabeln lernen"));
    Clock::setNow(QDateTime(QDate(2026, 12, 15), QTime(9, 0)));
    HomeworkStore::PruneHomeworkDates();
    QCOMPARE(RecurringHomework::apply(), 1);
    QCOMPARE(HomeworkStore::sortedDueDates(), QStringList{QStringLiteral("22.12.2026")});

    // A showing of the window lists the rules afresh.
    form.hide();
    RecurringHomework::addRule(QStringLiteral("Mathematik"), QStringLiteral("Formeln"));
    form.show();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Mathematik: Formeln"));
    QVERIFY(!end->isEnabled());
}

QTEST_MAIN(tst_RecurringGroup)
#include "tst_RecurringGroup.moc"
