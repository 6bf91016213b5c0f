// Refreshes the school's calendar subscriptions and prints their dates of the next 14 days, one a line.
#include "ToolCall.h"
#include "platform/Clock.h"
#include "schoolcalendar/SchoolCalendar.h"
#include "schoolcalendar/SchoolCalendarFetcher.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char kHelp[] =
    "Aufruf: kalmora-schulkalender [PROGRAMMVERZEICHNIS]\n"
    "\n"
    "Ruft die abonnierten Schulkalender (WebUntis, Moodle, IServ ...) ab und gibt\n"
    "ihre Termine der nächsten 14 Tage aus, einen je Zeile:\n"
    "  Di 15.12.2026 08:00–09:30 Klassenarbeit Mathematik (WebUntis)\n"
    "\n"
    "Die Abonnements stehen im Abschnitt [SCHULKALENDER] der DEZUVEDIRED.INI im\n"
    "Programmverzeichnis: dem angegebenen Verzeichnis, sonst dem aus KALMORA_DIR,\n"
    "sonst dem Verzeichnis dieses Programms. Die letzte gute Fassung jedes\n"
    "Kalenders liegt dort als Schulkalender-*.ics.\n"
    "\n"
    "Rückgabewert: 0, wenn alle Kalender abgerufen wurden; 1, wenn ein Kalender\n"
    "nicht abgerufen werden konnte, ob seine letzte Fassung verwendet wurde oder\n"
    "es keine gibt (eine Warnung steht auf der Fehlerausgabe, die Termine der\n"
    "übrigen werden ausgegeben); 2, wenn nichts gezeigt werden kann.\n";

constexpr int kNotAllFetched = 1;
const char kTool[] = "kalmora-schulkalender";

}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (const std::optional<int> ended = ToolCall::start(kTool, kHelp, argc, argv))
        return *ended;
    const QList<SchoolCalendarSettings::Subscription> subscriptions = SchoolCalendarSettings::load();
    if (subscriptions.isEmpty())
        return ToolCall::fail(kTool, QStringLiteral("Es ist kein Schulkalender abonniert."));

    SchoolCalendarFetcher fetcher;
    QObject::connect(&fetcher, &SchoolCalendarFetcher::finished, &app, &QCoreApplication::quit);
    fetcher.refresh(subscriptions);
    app.exec();

    bool allFetched = true;
    int shown = 0;
    for (const SchoolCalendarFetcher::Status &status : fetcher.statuses()) {
        if (status.ok)
            continue;
        allFetched = false;
        const QString note = status.hasCopy ? QStringLiteral("die letzte Fassung vom %1 wird verwendet")
                                                  .arg(status.fetchedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                                            : QStringLiteral("es gibt keine frühere Fassung");
        std::fprintf(stderr, "%s: Warnung: %s: %s; %s.\n", kTool, status.subscription.name.toUtf8().constData(),
                     status.error.toUtf8().constData(), note.toUtf8().constData());
    }
    for (const SchoolCalendarFetcher::Status &status : fetcher.statuses())
        shown += status.hasCopy ? 1 : 0;
    if (shown == 0)
        return ToolCall::fail(kTool, QStringLiteral("Von keinem Schulkalender gibt es Termine."));

    const QDate today = Clock::today();
    const SchoolCalendar::Dates dates = SchoolCalendar::read(subscriptions, today, today.addDays(13));
    for (const QString &problem : dates.problems)
        std::fprintf(stderr, "%s: Warnung: %s\n", kTool, problem.toUtf8().constData());
    QByteArray out;
    for (const SchoolDate &date : dates.dates)
        out += SchoolDates::line(date).toUtf8() + '\n';
    if (const std::optional<int> failed = ToolCall::writeOut(kTool, out))
        return *failed;
    return allFetched ? 0 : kNotAllFetched;
}
