// The "Extras" menu and tab: entries and groups as the added functions add them.
#include "extras/ExtrasGroup.h"
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "main2/TForm1.h"
#include "Options/TForm8.h"
#include "platform/Errors.h"
#include "platform/Prompt.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

class tst_Extras final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void menuEntries();
    void tabGroups();

private:
    TemporaryConfigHome m_config;
};

namespace {
class CountingGroup final : public ExtrasGroup
{
public:
    explicit CountingGroup(int &loads)
        : ExtrasGroup(QStringLiteral("Probe"))
        , m_loads(loads)
    {
    }
    void load() override { ++m_loads; }

private:
    int &m_loads;
};
}

void tst_Extras::menuEntries()
{
    TestEnvironment env;
    TForm1 form;
    auto *button = form.findChild<QToolButton *>(QStringLiteral("ExtrasButton"));
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Extras"));
    ExtrasMenu *menu = form.extrasMenu();
    int runs = 0;
    QAction *first = menu->addEntry(QStringLiteral("&Erstes"), QStringLiteral("Tipp"), [&] { ++runs; });
    QAction *failing = menu->addEntry(QStringLiteral("&Zweites"), QString(), [] { throw KalmoraError(QStringLiteral("Geht nicht.")); });
    QCOMPARE(menu->actions(), QList<QAction *>({first, failing}));
    QCOMPARE(first->toolTip(), QStringLiteral("Tipp"));

    // The button opens the menu without waiting for a choice.
    form.show();
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    menu->hide();

    // An entry runs its handler; a failure inside one is shown, not thrown.
    first->trigger();
    QCOMPARE(runs, 1);
    Prompt::takeAsked();
    failing->trigger();
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).text, QStringLiteral("Geht nicht."));
    QCOMPARE(asked.at(0).icon, QMessageBox::Critical);
}

void tst_Extras::tabGroups()
{
    TestEnvironment env;
    TForm8 form;
    auto *pages = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QCOMPARE(pages->widget(pages->count() - 1), form.extrasTab());
    QCOMPARE(pages->tabText(pages->count() - 1), QStringLiteral("Extras"));
    QCOMPARE(form.extrasTab()->objectName(), QStringLiteral("ExtrasTab"));

    // A group is built at the first showing, not before, and loads at every showing.
    int built = 0;
    int loads = 0;
    form.extrasTab()->addGroup([&]() -> ExtrasGroup * {
        ++built;
        return new CountingGroup(loads);
    });
    QCOMPARE(built, 0);
    form.show();
    QCOMPARE(built, 1);
    QCOMPARE(loads, 1);
    form.hide();
    form.show();
    QCOMPARE(built, 1);
    QCOMPARE(loads, 2);
    QVERIFY(form.extrasTab()->isAncestorOf(form.extrasTab()->groups().at(0)));
}

QTEST_MAIN(tst_Extras)
#include "tst_Extras.moc"
