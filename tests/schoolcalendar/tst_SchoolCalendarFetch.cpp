// Fetching the subscriptions and the research catalogue over https from a real TLS server on
// 127.0.0.1 with a certificate of a test CA, directly and through tinyproxy; and kalmora-schulkalender.
#include "AsyncSocket/TAsyncSocket.h"
#include "WebClient/TWebClient.h"
#include "schoolcalendar/SchoolCalendar.h"
#include "schoolcalendar/SchoolCalendarFetcher.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"

#include <QBuffer>
#include <QSslConfiguration>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <ctime>

namespace {

// The school's server: a timetable with an ETag, a broken feed, an answer too large,
// an endless redirection and relative ones, a feed of make-up lessons (RDATE), entries
// nested inside entries, a server that stalls, and the research catalogue; the
// same answers over plain http on a second port. Requests are logged.
const char kServer[] = R"PY(
import http.server, socketserver, ssl, sys, threading, time
feed = open(sys.argv[3], 'rb').read()
class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.0'
    def log_message(self, *args):
        with open(sys.argv[4], 'a') as log:
            log.write('%s %s\n' % (self.path, self.headers.get('If-None-Match', '-')))
    def answer(self, code, body=b'', headers=()):
        self.send_response(code)
        for name, value in headers: self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)
    def do_GET(self):
        if self.path == '/stundenplan.ics':
            if self.headers.get('If-None-Match') == '"v1"': return self.answer(304)
            return self.answer(200, feed, [('ETag', '"v1"'), ('Content-Type', 'text/calendar')])
        if self.path == '/kaputt.ics': return self.answer(200, b'<html>Bitte anmelden</html>')
        if self.path == '/gross.ics':
            self.send_response(200); self.end_headers()
            for i in range(11): self.wfile.write(b'X' * (1024 * 1024))
            return
        if self.path == '/schleife.ics': return self.answer(302, b'', [('Location', '/schleife.ics')])
        if self.path == '/stockt.ics':
            self.send_response(200); self.end_headers(); self.wfile.write(b'BEGIN:VCALENDAR\r\n'); self.wfile.flush()
            time.sleep(4); return
        if self.path == '/f/webuntis.ics': return self.answer(200, feed)
        if self.path == '/umzug.ics': return self.answer(301, b'', [('Location', '/f/webuntis.ics')])
        if self.path == '/f/alt.ics': return self.answer(302, b'', [('Location', 'webuntis.ics')])
        if self.path == '/nachhol.ics': return self.answer(200, open(sys.argv[5], 'rb').read())
        if self.path.startswith('/verschachtelt-'):
            depth = int(self.path[15:-4])
            return self.answer(200, b'BEGIN:VCALENDAR\r\nVERSION:2.0\r\n' + b'BEGIN:VEVENT\r\n' * depth
                               + b'END:VEVENT\r\n' * depth + b'END:VCALENDAR\r\n')
        if self.path == '/recherche/_kli.cfg': return self.answer(200, b'<DATA>\r\nSicher\r\n')
        self.answer(404)
class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
plain = Server(('127.0.0.1', 0), Handler)
secure = Server(('127.0.0.1', 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[1], sys.argv[2])
secure.socket = context.wrap_socket(secure.socket, server_side=True)
threading.Thread(target=plain.serve_forever, daemon=True).start()
print(secure.server_address[1], plain.server_address[1], flush=True)
secure.serve_forever()
)PY";

// Make-up lessons: several dates in one RDATE, several RDATE lines, lists of bare days.
const QByteArray kMakeUp = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:physik\r\n"
                           "DTSTART;TZID=Europe/Berlin:20261204T133000\r\nDTEND;TZID=Europe/Berlin:20261204T150000\r\n"
                           "RDATE;TZID=Europe/Berlin:20261211T133000,20261219T100000\r\nSUMMARY:Physik\r\nEND:VEVENT\r\n"
                           "BEGIN:VEVENT\r\nUID:wandertag\r\nDTSTART;VALUE=DATE:20261209\r\nRDATE;VALUE=DATE:20261216,20261223\r\n"
                           "RDATE;VALUE=DATE:20261230\r\nSUMMARY:Wandertag\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

const QByteArray kFeed = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART:20261208T080000\r\n"
                         "DTEND:20261208T093000\r\nSUMMARY:Klassenarbeit Mathematik\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

bool run(const QString &program, const QStringList &arguments, const QString &directory)
{
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitCode() == 0;
}

}

class tst_SchoolCalendarFetch final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void fetching_data();
    void fetching();
    void conditionalAndKeptCopy();
    void feedFaults_data();
    void feedFaults();
    void throughProxy();
    void researchCatalogue();
    void tool();

private:
    QList<SchoolCalendarFetcher::Status> refresh(const QList<SchoolCalendarSettings::Subscription> &subscriptions);
    QString secureUrl(const QString &path, const QString &host = QStringLiteral("localhost")) const
    {
        return QStringLiteral("https://%1:%2%3").arg(host, m_securePort, path);
    }

    QTemporaryDir m_dir;
    TestServer m_server;
    QString m_securePort;
    QString m_plainPort;
    QString m_log;
};

void tst_SchoolCalendarFetch::initTestCase()
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (openssl.isEmpty() || python.isEmpty())
        QSKIP("openssl and python3 are needed");
    // German time, as the make-up lessons' TZID.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QString d = m_dir.path() + u'/';
    // A test CA, and a server certificate it signed for the name "localhost" only.
    QVERIFY(run(openssl, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days", "30",
                          "-subj", "/CN=Kalmora Test CA"}, d));
    QVERIFY(run(openssl, {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=localhost"}, d));
    QFile ext(d + QStringLiteral("ext.cnf"));
    QVERIFY(ext.open(QIODevice::WriteOnly) && ext.write("subjectAltName=DNS:localhost\n") > 0);
    ext.close();
    QVERIFY(run(openssl, {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial", "-out",
                          "server.pem", "-days", "30", "-extfile", "ext.cnf"}, d));
    QFile script(d + QStringLiteral("server.py"));
    QVERIFY(script.open(QIODevice::WriteOnly) && script.write(kServer) > 0);
    script.close();
    for (const auto &[name, text] : {std::pair("feed.ics", kFeed), std::pair("makeup.ics", kMakeUp)}) {
        QFile feed(d + QLatin1String(name));
        QVERIFY(feed.open(QIODevice::WriteOnly) && feed.write(text) > 0);
    }
    m_log = d + QStringLiteral("requests.log");
    m_server.start(python, {script.fileName(), d + "server.pem", d + "server.key", d + "feed.ics", m_log, d + "makeup.ics"},
                   QProcessEnvironment::systemEnvironment(), true);
    const QStringList ports = m_server.firstLine(10000).split(u' ');
    QCOMPARE(ports.size(), 2);
    m_securePort = ports[0];
    m_plainPort = ports[1];
    // The test CA joins the system's certificates for this process only.
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(d + QStringLiteral("ca.pem"));
    QSslConfiguration::setDefaultConfiguration(configuration);
}

QList<SchoolCalendarFetcher::Status> tst_SchoolCalendarFetch::refresh(const QList<SchoolCalendarSettings::Subscription> &subscriptions)
{
    SchoolCalendarFetcher fetcher;
    fetcher.setStallTimeout(1000);
    QSignalSpy finished(&fetcher, &SchoolCalendarFetcher::finished);
    fetcher.refresh(subscriptions);
    if (!finished.wait(20000))
        return {};
    return fetcher.statuses();
}

void tst_SchoolCalendarFetch::fetching_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("error"); // a part of the German message, empty for success
    QTest::newRow("https") << secureUrl("/stundenplan.ics") << QString();
    QTest::newRow("webcal as https") << secureUrl("/stundenplan.ics").replace("https", "webcal") << QString();
    QTest::newRow("http on loopback") << QStringLiteral("http://127.0.0.1:%1/stundenplan.ics").arg(m_plainPort) << QString();
    QTest::newRow("http elsewhere") << QStringLiteral("http://schule.example/plan.ics") << QStringLiteral("nur https-Adressen");
    QTest::newRow("certificate for another name") << secureUrl("/stundenplan.ics", "127.0.0.1")
                                                  << QStringLiteral("Das Zertifikat von 127.0.0.1 wird abgelehnt: das Zertifikat gilt nicht für diesen Rechnernamen");
    QTest::newRow("no calendar") << secureUrl("/kaputt.ics") << QStringLiteral("kein iCalendar-Kalender");
    QTest::newRow("over 10 MB") << secureUrl("/gross.ics") << QStringLiteral("größer als 10 MB");
    QTest::newRow("endless redirection") << secureUrl("/schleife.ics") << QStringLiteral("leitet zu oft weiter");
    QTest::newRow("stalling server") << secureUrl("/stockt.ics") << QStringLiteral("antwortet nicht");
    QTest::newRow("missing") << secureUrl("/fehlt.ics") << QStringLiteral("meldet 404");
}

void tst_SchoolCalendarFetch::fetching()
{
    QFETCH(QString, address);
    QFETCH(QString, error);
    TestEnvironment env;
    const QList<SchoolCalendarFetcher::Status> statuses = refresh({{"Plan", address}});
    QCOMPARE(statuses.size(), 1);
    QVERIFY2(statuses[0].error.contains(error), qPrintable(statuses[0].error));
    QCOMPARE(statuses[0].ok, error.isEmpty());
    QCOMPARE(SchoolCalendar::readCopy(address).feed, error.isEmpty() ? kFeed : QByteArray());
}

void tst_SchoolCalendarFetch::conditionalAndKeptCopy()
{
    TestEnvironment env;
    const QString plan = secureUrl("/stundenplan.ics");
    const QString broken = secureUrl("/kaputt.ics");
    SchoolCalendar::writeCopy(broken, {kFeed, {}, {}, QDateTime(QDate(2026, 12, 1), QTime(7, 0))});
    QCOMPARE(refresh({{"Plan", plan}, {"Moodle", broken}}).size(), 2);
    // The second fetch asks with the ETag and gets 304; the broken answer leaves the last good copy.
    const QList<SchoolCalendarFetcher::Status> statuses = refresh({{"Plan", plan}, {"Moodle", broken}});
    QVERIFY(statuses[0].ok && !statuses[1].ok && statuses[1].hasCopy);
    QFile log(m_log);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("/stundenplan.ics \"v1\"\n"));
    QCOMPARE(SchoolCalendar::readCopy(plan).feed, kFeed);
    QCOMPARE(SchoolCalendar::readCopy(broken).feed, kFeed);
    const SchoolCalendar::Dates dates = SchoolCalendar::read({{"Plan", plan}, {"Moodle", broken}}, QDate(2026, 12, 8), QDate(2026, 12, 8));
    QCOMPARE(dates.dates.size(), 2);
    QCOMPARE(SchoolDates::line(dates.dates[1]), QStringLiteral("Di 08.12.2026 08:00–09:30 Klassenarbeit Mathematik (Moodle)"));
}

void tst_SchoolCalendarFetch::feedFaults_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error"); // a part of the German message, empty for success
    QTest::addColumn<QStringList>("expected");
    const QStringList kept = {"Di 08.12.2026 08:00–09:30 Klassenarbeit Mathematik (Plan)"};
    QTest::newRow("every date of the RDATEs")
        << "/nachhol.ics" << QString()
        << QStringList{"Mi 09.12.2026 Wandertag (Plan)", "Fr 11.12.2026 13:30–15:00 Physik (Plan)", "Mi 16.12.2026 Wandertag (Plan)",
                       "Sa 19.12.2026 10:00–11:30 Physik (Plan)", "Mi 23.12.2026 Wandertag (Plan)", "Mi 30.12.2026 Wandertag (Plan)"};
    // Location "/f/webuntis.ics" and "webuntis.ics" (beside the address asked).
    QTest::newRow("redirect to an absolute path") << "/umzug.ics" << QString() << kept;
    QTest::newRow("redirect to a relative path") << "/f/alt.ics" << QString() << kept;
    // Entries nested in entries: libical would take the shallow one as an empty calendar and overflow its stack on the deep one.
    QTest::newRow("100000 nested entries") << "/verschachtelt-100000.ics" << "beginnt VEVENT innerhalb von VEVENT" << kept;
    QTest::newRow("380000 nested entries") << "/verschachtelt-380000.ics" << "beginnt VEVENT innerhalb von VEVENT" << kept;
}

void tst_SchoolCalendarFetch::feedFaults()
{
    QFETCH(QString, path);
    QFETCH(QString, error);
    QFETCH(QStringList, expected);
    TestEnvironment env;
    const QString address = secureUrl(path);
    SchoolCalendar::writeCopy(address, {kFeed, {}, {}, QDateTime(QDate(2026, 12, 1), QTime(7, 0))});
    const QList<SchoolCalendarFetcher::Status> statuses = refresh({{"Plan", address}});
    QCOMPARE(statuses.size(), 1);
    QVERIFY2(statuses[0].error.contains(error), qPrintable(statuses[0].error));
    QCOMPARE(statuses[0].ok, error.isEmpty());
    QStringList lines;
    for (const SchoolDate &date : SchoolCalendar::read({{"Plan", address}}, QDate(2026, 12, 7), QDate(2026, 12, 31)).dates)
        lines.append(SchoolDates::line(date));
    QCOMPARE(lines, expected);
}

void tst_SchoolCalendarFetch::throughProxy()
{
    const QString tinyproxy = QStandardPaths::findExecutable(QStringLiteral("tinyproxy"), {"/usr/bin", "/usr/sbin"});
    if (tinyproxy.isEmpty())
        QSKIP("tinyproxy is needed");
    TestEnvironment env;
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const QString port = QString::number(probe.serverPort());
    probe.close();
    const QString log = env.path(QStringLiteral("proxy.log"));
    env.writeFile(QStringLiteral("proxy.conf"),
                  QStringLiteral("Port %1\nListen 127.0.0.1\nAllow 127.0.0.1\nLogLevel Connect\nLogFile \"%2\"\n").arg(port, log).toUtf8());
    TestServer proxy;
    proxy.start(tinyproxy, {"-d", "-c", env.path(QStringLiteral("proxy.conf"))}, QProcessEnvironment::systemEnvironment());
    QTRY_VERIFY_WITH_TIMEOUT([&] {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port.toUShort());
        return socket.waitForConnected(200);
    }(), 10000);
    qputenv("http_proxy", QStringLiteral("http://127.0.0.1:%1/").arg(port).toUtf8());
    const auto unset = qScopeGuard([] { qunsetenv("http_proxy"); });
    QVERIFY(refresh({{"Plan", secureUrl("/stundenplan.ics")}}).value(0).ok);
    // The research catalogue's own client goes the same way.
    TWebClient client;
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    client.setURL(secureUrl("/recherche/_kli.cfg"));
    client.setProxy(QStringLiteral("127.0.0.1:%1").arg(port));
    client.setRcvdStream(&body);
    client.Get();
    QCOMPARE(body.data(), QByteArray("<DATA>\r\nSicher\r\n"));
    QFile proxyLog(log);
    QVERIFY(proxyLog.open(QIODevice::ReadOnly));
    QCOMPARE(proxyLog.readAll().count(QByteArray("CONNECT localhost:" + m_securePort.toUtf8())), 2);
}

void tst_SchoolCalendarFetch::researchCatalogue()
{
    TWebClient client;
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    client.setRcvdStream(&body);
    client.setURL(secureUrl("/recherche/_kli.cfg"));
    client.Get();
    QCOMPARE(client.StatusCode(), 200);
    QCOMPARE(body.data(), QByteArray("<DATA>\r\nSicher\r\n"));
    // A certificate that does not name the host is refused, naming host and reason.
    client.setURL(secureUrl("/recherche/_kli.cfg", "127.0.0.1"));
    QVERIFY_THROWS_EXCEPTION(std::exception, client.Get());
    QCOMPARE(client.ReasonPhrase(),
             QStringLiteral("Das Zertifikat von 127.0.0.1 wird abgelehnt: das Zertifikat gilt nicht für diesen Rechnernamen."));
}

void tst_SchoolCalendarFetch::tool()
{
    TestEnvironment env;
    const QString tool = QFileInfo(qEnvironmentVariable("KALMORA_ICAL_TOOL")).dir().filePath(QStringLiteral("kalmora-schulkalender"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KALMORA_NOW"), QStringLiteral("2026-12-07T09:00:00"));
    const auto call = [&](QByteArray *errors) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(tool, {env.dir()});
        process.waitForFinished(60000);
        *errors = process.readAllStandardError();
        if (process.exitStatus() != QProcess::NormalExit) // a sanitizer's report, for the log
            qWarning("kalmora-schulkalender ended abnormally:\n%s", errors->constData());
        return std::pair(process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()));
    };
    QByteArray errors;
    // Nothing subscribed: nothing to show.
    QCOMPARE(call(&errors).first, 2);
    QVERIFY(errors.contains("kein Schulkalender"));
    // Over plain http on the own computer it is fetched and printed.
    const QString plain = QStringLiteral("http://127.0.0.1:%1/stundenplan.ics").arg(m_plainPort);
    env.writeSettings(QStringLiteral("[SCHULKALENDER]\nName1=WebUntis\nAdresse1=%1\n").arg(plain));
    QCOMPARE(call(&errors), std::pair(0, QStringLiteral("Di 08.12.2026 08:00–09:30 Klassenarbeit Mathematik (WebUntis)\n")));
    // The test CA is not the tool's: the https fetch fails. Without a copy of it, the other's
    // dates are printed and the exit tells that a calendar is missing.
    const QString secure = secureUrl("/stundenplan.ics");
    env.writeSettings(QStringLiteral("[SCHULKALENDER]\nName1=WebUntis\nAdresse1=%1\nName2=Moodle\nAdresse2=%2\n").arg(plain, secure));
    QCOMPARE(call(&errors), std::pair(1, QStringLiteral("Di 08.12.2026 08:00–09:30 Klassenarbeit Mathematik (WebUntis)\n")));
    QVERIFY2(errors.contains("Warnung: Moodle: ") && errors.contains("keine frühere Fassung"), errors.constData());
    // With the copy of another run, it is used.
    SchoolCalendar::writeCopy(secure, {kFeed, {}, {}, QDateTime(QDate(2026, 12, 6), QTime(18, 0))});
    env.writeSettings(QStringLiteral("[SCHULKALENDER]\nName1=WebUntis\nAdresse1=%1\n").arg(secure));
    QCOMPARE(call(&errors).first, 1);
    QVERIFY2(errors.contains("Warnung: WebUntis: ") && errors.contains("06.12.2026 18:00"), errors.constData());
}

QTEST_GUILESS_MAIN(tst_SchoolCalendarFetch)
#include "tst_SchoolCalendarFetch.moc"
