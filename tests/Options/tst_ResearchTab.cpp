// The research tab: the tree and its descriptions, loading failures, the refresh, and the links it opens.
#include "Options/ResearchBrowser.h"
#include "Options/ResearchServer.h"
#include "Options/ResearchTab.h"
#include "platform/Errors.h"
#include "platform/Prompt.h"
#include "platform/Win1252.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

QByteArray catalogueText(const QStringList &lines)
{
    return Win1252::encode(QString(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

const QByteArray kBiology = catalogueText({"<DATA>", "Recherche", "<SUBJECT>", "Biologie", "4",
                                           "<TOPIC>", "Zellen", "https://de.wikipedia.org/wiki/Zelle_(Biologie)", "Aufbau der Zelle", "4",
                                           "<TOPIC>", "Fotosynthese", "https://de.wikipedia.org/wiki/Fotosynthese", "Licht wird zu Zucker", "4",
                                           "<TOPIC>", "Lokal", "file:///etc/passwd", "Keine Webadresse", "3"});

template <typename T>
T *control(ResearchTab &tab, const char *name)
{
    return tab.findChild<T *>(QString::fromLatin1(name));
}

QTreeWidget *tree(ResearchTab &tab)
{
    return control<QTreeWidget>(tab, "ITreeView1");
}

QString hintBox(ResearchTab &tab)
{
    return control<QLabel>(tab, "HintBox")->text();
}

QString infolabel(ResearchTab &tab)
{
    return control<QLabel>(tab, "Infolabel")->text();
}

QStringList topLevelTexts(QTreeWidget *view)
{
    QStringList texts;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        texts.append(view->topLevelItem(i)->text(0) + u'/' + QString::number(view->topLevelItem(i)->childCount()));
    return texts;
}

// Moves the pointer over a node, as the pupil's mouse does.
void hover(QTreeWidget *view, QTreeWidgetItem *item)
{
    const QPoint at = item ? view->visualItemRect(item).center() : QPoint(5, view->viewport()->height() - 3);
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &move);
}

// A double-click as the system delivers it: a click, then the second press as a double-click.
void doubleClick(QTreeWidget *view, QTreeWidgetItem *item)
{
    const QPoint at = view->visualItemRect(item).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// A tab shown with its tree laid out and unfolded.
struct ShownTab
{
    ShownTab()
    {
        tab.resize(640, 400);
        tab.show();
    }
    void load()
    {
        tab.LoadResearchTree();
        tree(tab)->expandAll();
    }
    ResearchTab tab;
};

// A web server on 127.0.0.1 that answers from a table, runs a check when
// the first request arrives, and answers 404 to anything unknown.
class Server final
{
public:
    Server()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *peer = m_server.nextPendingConnection()) {
                QObject::connect(peer, &QTcpSocket::readyRead, peer, [this, peer] {
                    const QByteArray request = peer->peek(peer->bytesAvailable());
                    if (!request.contains("\r\n\r\n"))
                        return;
                    peer->readAll();
                    if (onRequest)
                        std::exchange(onRequest, nullptr)();
                    peer->write(answers.value(request.split(' ').value(1), "HTTP/1.0 404 Not Found\r\n\r\n"));
                    peer->disconnectFromHost();
                });
                QObject::connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
            }
        });
    }
    QString address(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path); }

    QHash<QByteArray, QByteArray> answers;
    std::function<void()> onRequest;

private:
    QTcpServer m_server;
};

QByteArray ok(const QByteArray &body)
{
    return "HTTP/1.0 200 OK\r\n\r\n" + body;
}

QByteArray pngBytes(const QColor &color)
{
    QImage image(20, 8, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}

class tst_ResearchTab final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void treeAndDescriptions();
    void loadFailures();
    void refresh();
    void failedRefreshShowsOldCatalogue();
    void redirectedRefresh();
    void doubleClicks();
};

void tst_ResearchTab::initTestCase()
{
    qunsetenv("http_proxy");
    qunsetenv("HTTP_PROXY");
}

void tst_ResearchTab::treeAndDescriptions()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), kBiology);
    ShownTab shown;
    shown.load();
    QTreeWidget *view = tree(shown.tab);
    // One title and one subject with its three topics; nothing is edited in place.
    QCOMPARE(topLevelTexts(view), (QStringList{"Recherche/0", "Biologie/3"}));
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!view->topLevelItem(0)->icon(0).isNull());
    // Hovering the second topic shows its description; empty space keeps it.
    QTreeWidgetItem *subject = view->topLevelItem(1);
    hover(view, subject->child(1));
    QCOMPARE(hintBox(shown.tab), QStringLiteral("Licht wird zu Zucker"));
    hover(view, nullptr);
    QCOMPARE(hintBox(shown.tab), QStringLiteral("Licht wird zu Zucker"));
    // A subject has no description.
    hover(view, subject);
    QCOMPARE(hintBox(shown.tab), QString());
    // A long description shows cut to 255 characters; markup in it stays text.
    env.writeFile(QStringLiteral("inet.txt"), catalogueText({"<TOPIC>", "Lang", "http://x/", "<b>" + QString(300, u'z'), "1"}));
    shown.load();
    hover(view, view->topLevelItem(0));
    QCOMPARE(hintBox(shown.tab), QStringLiteral("<b>") + QString(252, u'z'));
    QCOMPARE(control<QLabel>(shown.tab, "HintBox")->textFormat(), Qt::PlainText);
}

void tst_ResearchTab::loadFailures()
{
    TestEnvironment env;
    ShownTab shown;
    QTreeWidget *view = tree(shown.tab);
    // A wrong image number: thrown for the caller's message box, the nodes before it shown.
    env.writeFile(QStringLiteral("inet.txt"), catalogueText({"<SUBJECT>", "Chemie", "5", "<TOPIC>", "Säuren", "http://s/", "", "5",
                                                            "<SUBJECT>", "Kunst", "x"}));
    QVERIFY_THROWS_EXCEPTION(EConvertError, shown.tab.LoadResearchTree());
    QCOMPARE(topLevelTexts(view), QStringList{"Chemie/1"});
    // A missing file: thrown too, with the tree left empty.
    QFile::remove(env.path(QStringLiteral("inet.txt")));
    QVERIFY_THROWS_EXCEPTION(EInOutError, shown.tab.LoadResearchTree());
    QCOMPARE(view->topLevelItemCount(), 0);
    // More nodes than hint slots: the nodes past slot 100 show no description.
    QStringList lines = {"<SUBJECT>", "Viele", "1"};
    for (int i = 1; i <= 110; ++i)
        lines << "<TOPIC>" << QString::number(i) << "http://x/" << QStringLiteral("Text %1").arg(i) << "1";
    env.writeFile(QStringLiteral("inet.txt"), catalogueText(lines));
    shown.load();
    QTreeWidgetItem *subject = view->topLevelItem(0);
    QCOMPARE(subject->childCount(), 110);
    view->scrollToItem(subject->child(99));
    hover(view, subject->child(99));
    QCOMPARE(hintBox(shown.tab), QStringLiteral("Text 100"));
    view->scrollToItem(subject->child(104));
    hover(view, subject->child(104));
    QCOMPARE(hintBox(shown.tab), QString());
}

void tst_ResearchTab::refresh()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), kBiology);
    Server server;
    const QByteArray catalogue = catalogueText({"<DATA>", "Neue Daten", "<BITMAP>", "banner.png", "http://home.test/", "Zur Homepage",
                                                "<SUBJECT>", "Physik", "6", "<TOPIC>", "Strom", "http://s/", "Elektronen", "6"});
    const QByteArray banner = pngBytes(Qt::darkBlue);
    server.answers.insert("/daten/_kli.cfg", ok(catalogue));
    server.answers.insert("/daten/banner.png", ok(banner));
    qputenv("KALMORA_RESEARCH_URL", server.address("/daten/").toUtf8());
    ShownTab shown;
    shown.load();
    auto *button = control<QPushButton>(shown.tab, "IButton11");
    auto *image = control<QLabel>(shown.tab, "Image5");
    QCOMPARE(image->toolTip(), QStringLiteral("Besuchen Sie unsere Hompage..."));
    QCOMPARE(control<QWidget>(shown.tab, "Bevel1")->toolTip(), QStringLiteral("Besuchen Sie unsere Homepage..."));
    // While the catalogue downloads the button is disabled, the tree empty, and the status line says so.
    bool disabledMeanwhile = false;
    int nodesMeanwhile = -1;
    QString infoMeanwhile;
    server.onRequest = [&] {
        disabledMeanwhile = !button->isEnabled();
        nodesMeanwhile = tree(shown.tab)->topLevelItemCount();
        infoMeanwhile = infolabel(shown.tab);
    };
    QTest::mouseClick(button, Qt::LeftButton);
    qunsetenv("KALMORA_RESEARCH_URL");
    QVERIFY(disabledMeanwhile);
    QCOMPARE(nodesMeanwhile, 0);
    QCOMPARE(infoMeanwhile, QStringLiteral("Lade neue Daten aus dem Internet..."));
    QVERIFY(Prompt::takeAsked().isEmpty());
    // Afterwards: the new catalogue in the file and the tree, the banner fetched and shown.
    QVERIFY(button->isEnabled());
    QCOMPARE(env.readFile(QStringLiteral("inet.txt")), catalogue);
    QCOMPARE(topLevelTexts(tree(shown.tab)), (QStringList{"Neue Daten/0", "Physik/1"}));
    QCOMPARE(env.readFile(QStringLiteral("banner.png")), banner);
    QCOMPARE(infolabel(shown.tab), QStringLiteral("Empfangen wurden %1 Bytes").arg(banner.size()));
    QVERIFY(!image->pixmap().isNull());
    QCOMPARE(image->pixmap().toImage().pixelColor(3, 3), QColor(Qt::darkBlue));
    QCOMPARE(image->toolTip(), QStringLiteral("Zur Homepage"));
    QCOMPARE(shown.tab.HomepageUrl(), QStringLiteral("http://home.test/"));
}

void tst_ResearchTab::failedRefreshShowsOldCatalogue()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), kBiology);
    Server server;
    qputenv("KALMORA_RESEARCH_URL", server.address("/daten/").toUtf8());
    ShownTab shown;
    shown.load();
    // The server answers 404: reported in the status line, the old catalogue shown again, no message box.
    QTest::mouseClick(control<QPushButton>(shown.tab, "IButton11"), Qt::LeftButton);
    qunsetenv("KALMORA_RESEARCH_URL");
    QCOMPARE(infolabel(shown.tab), QStringLiteral("ERROR : 404 Not Found"));
    QCOMPARE(env.readFile(QStringLiteral("inet.txt")), kBiology);
    QCOMPARE(topLevelTexts(tree(shown.tab)), (QStringList{"Recherche/0", "Biologie/3"}));
    QVERIFY(control<QPushButton>(shown.tab, "IButton11")->isEnabled());
    QVERIFY(Prompt::takeAsked().isEmpty());
    // Without any catalogue the refresh ends in the message box of the missing file.
    QFile::remove(env.path(QStringLiteral("inet.txt")));
    qputenv("KALMORA_RESEARCH_URL", server.address("/daten/").toUtf8());
    QTest::mouseClick(control<QPushButton>(shown.tab, "IButton11"), Qt::LeftButton);
    qunsetenv("KALMORA_RESEARCH_URL");
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, QStringLiteral("Die Datei %1 fehlt.").arg(env.path("inet.txt")));
    QCOMPARE(tree(shown.tab)->topLevelItemCount(), 0);
}

void tst_ResearchTab::redirectedRefresh()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), kBiology);
    Server server;
    qputenv("KALMORA_RESEARCH_URL", server.address("/daten/").toUtf8());
    ShownTab shown;
    shown.load();
    auto *button = control<QPushButton>(shown.tab, "IButton11");
    // A redirection to a local file: a refused download in the status line, no message box, the old catalogue again.
    server.answers.insert("/daten/_kli.cfg", "HTTP/1.0 302 Found\r\nLocation: file:///etc/passwd\r\n\r\n");
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(Prompt::takeAsked().isEmpty());
    QCOMPARE(infolabel(shown.tab), QStringLiteral("ERROR : 404 Unsupported redirection"));
    QCOMPARE(env.readFile(QStringLiteral("inet.txt")), kBiology);
    QCOMPARE(topLevelTexts(tree(shown.tab)), (QStringList{"Recherche/0", "Biologie/3"}));
    QVERIFY(button->isEnabled());
    // A path on the same server is followed; a banner sent to HTTPS is refused and not written.
    const QByteArray catalogue = catalogueText({"<BITMAP>", "banner.png", "http://home.test/", "Zur Homepage", "<SUBJECT>", "Physik", "6"});
    server.answers.insert("/daten/_kli.cfg", "HTTP/1.0 301 Moved\r\nLocation: /neu/_kli.cfg\r\n\r\n");
    server.answers.insert("/neu/_kli.cfg", ok(catalogue));
    server.answers.insert("/daten/banner.png", "HTTP/1.0 302 Found\r\nLocation: https://127.0.0.1/banner.png\r\n\r\n");
    QTest::mouseClick(button, Qt::LeftButton);
    qunsetenv("KALMORA_RESEARCH_URL");
    QVERIFY(Prompt::takeAsked().isEmpty());
    QCOMPARE(env.readFile(QStringLiteral("inet.txt")), catalogue);
    QCOMPARE(topLevelTexts(tree(shown.tab)), QStringList{"Physik/0"});
    QCOMPARE(infolabel(shown.tab), QStringLiteral("ERROR : 404 Unsupported redirection"));
    QVERIFY(!QFile::exists(env.path(QStringLiteral("banner.png"))));
}

void tst_ResearchTab::doubleClicks()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), kBiology);
    // A stand-in opener on the PATH, never run: the starter records instead.
    const QString bin = env.path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    QFile opener(bin + QStringLiteral("/xdg-open"));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.close();
    opener.setPermissions(opener.permissions() | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8());
    QList<ResearchBrowser::Command> started;
    ResearchBrowser::setStarter([&](const ResearchBrowser::Command &command) {
        started.append(command);
        return true;
    });
    ShownTab shown;
    shown.load();
    QTreeWidget *view = tree(shown.tab);
    QTreeWidgetItem *subject = view->topLevelItem(1);
    // A topic opens its address as the one argument of the opener.
    doubleClick(view, subject->child(0));
    QCOMPARE(started, (QList<ResearchBrowser::Command>{{opener.fileName(), {"https://de.wikipedia.org/wiki/Zelle_(Biologie)"}}}));
    // A subject and the title open nothing.
    started.clear();
    doubleClick(view, subject);
    doubleClick(view, view->topLevelItem(0));
    QVERIFY(started.isEmpty());
    // A topic whose address is no web address is refused in the status line.
    view->expandAll();
    doubleClick(view, subject->child(2));
    QVERIFY(started.isEmpty());
    QCOMPARE(infolabel(shown.tab), ResearchBrowser::RefusedText());
    // The banner opens the home page: the research directory without a "<BITMAP>" block.
    QTest::mouseDClick(control<QLabel>(shown.tab, "Image5"), Qt::LeftButton);
    QCOMPARE(started, (QList<ResearchBrowser::Command>{{opener.fileName(), {ResearchServer::ResearchBaseUrl()}}}));
    // Without an opener the browser is not found.
    qputenv("PATH", env.path(QStringLiteral("leer")).toUtf8());
    doubleClick(view, subject->child(1));
    QCOMPARE(infolabel(shown.tab), ResearchBrowser::NoBrowserText());
    qputenv("PATH", oldPath);
    ResearchBrowser::setStarter({});
}

QTEST_MAIN(tst_ResearchTab)
#include "tst_ResearchTab.moc"
