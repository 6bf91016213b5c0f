// The settings window as a whole: every showing loads all five tabs, and one broken file spoils only its own tab.
#include "Options/TForm8.h"
#include "platform/Prompt.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

class tst_TForm8 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showingLoadsEveryTab();
    void missingCatalogueSpoilsOnlyItsTab();

private:
    TemporaryConfigHome m_config;
};

namespace {
const QString kSettings = QStringLiteral("[Montag]\n1=Mathematik\n2=Deutsch\n[TERMIN]\n24.12.2026=Weihnachten\n");
const QByteArray kCatalogue = "<SUBJECT>\r\nBiologie\r\n1\r\n<TOPIC>\r\nZelle\r\nhttps://example.org/zelle\r\nAufbau\r\n3\r\n";

int topLevelCount(const QTreeWidget *tree)
{
    return tree->topLevelItemCount();
}
}

void tst_TForm8::showingLoadsEveryTab()
{
    TestEnvironment env;
    env.writeSettings(kSettings);
    env.writeFile(QStringLiteral("inet.txt"), kCatalogue);
    Prompt::takeAsked();
    TForm8 form;
    form.show();
    QVERIFY(Prompt::takeAsked().isEmpty());
    auto *pages = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QCOMPARE(pages->count(), 6); // the five tabs and "Extras"
    // The first showing opens on the research tab.
    QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("Internet - Recherche"));
    QCOMPARE(form.findChild<QListWidget *>(QStringLiteral("ListBox1"))->count(), 1);
    QCOMPARE(form.findChild<QListWidget *>(QStringLiteral("ListBox1"))->item(0)->text(), QStringLiteral("Weihnachten"));
    // Without grade files the grade tree is built from the timetable.
    auto *grades = form.findChild<QTreeWidget *>(QStringLiteral("TreeView2"));
    QVERIFY(topLevelCount(grades) > 0);
    QVERIFY(!grades->findItems(QStringLiteral("Mathematik"), Qt::MatchRecursive | Qt::MatchExactly).isEmpty());
    auto *research = form.findChild<QTreeWidget *>(QStringLiteral("ITreeView1"));
    QCOMPARE(research->topLevelItem(0)->text(0), QStringLiteral("Biologie"));

    // A later showing keeps the tab last selected and reads the files again.
    pages->setCurrentIndex(4);
    form.hide();
    env.writeSettings(kSettings + QStringLiteral("31.12.2026=Silvester\n"));
    form.show();
    QCOMPARE(pages->currentIndex(), 4);
    QCOMPARE(form.findChild<QListWidget *>(QStringLiteral("ListBox1"))->count(), 2);
}

void tst_TForm8::missingCatalogueSpoilsOnlyItsTab()
{
    TestEnvironment env;
    env.writeSettings(kSettings);
    Prompt::takeAsked();
    TForm8 form;
    form.show();
    // The missing catalogue is reported once; the tabs before and after it are loaded.
    QCOMPARE(Prompt::takeAsked().size(), 1);
    QCOMPARE(form.findChild<QTreeWidget *>(QStringLiteral("ITreeView1"))->topLevelItemCount(), 0);
    QCOMPARE(form.findChild<QListWidget *>(QStringLiteral("ListBox1"))->count(), 1);
    QVERIFY(topLevelCount(form.findChild<QTreeWidget *>(QStringLiteral("TreeView2"))) > 0);
    QVERIFY(form.windowTitle().startsWith(QStringLiteral("Kalmora V2.0 - 07.12.2026")));
}

QTEST_MAIN(tst_TForm8)
#include "tst_TForm8.moc"
