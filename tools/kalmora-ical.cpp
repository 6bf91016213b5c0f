// Writes the planner's dates as an iCalendar document to standard output.
#include "calendar/CalendarExport.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

const char kHelp[] =
    "Aufruf: kalmora-ical [PROGRAMMVERZEICHNIS]\n"
    "\n"
    "Schreibt die Termine des Schulplaners als iCalendar-Dokument (RFC 5545)\n"
    "auf die Standardausgabe: Hausaufgaben, Ereignisse mit ihren Erinnerungen\n"
    "(wiederkehrende für die nächsten zwei Jahre), Alarme und Ferien.\n"
    "\n"
    "Die Daten stehen in der Datei DEZUVEDIRED.INI im Programmverzeichnis: dem\n"
    "angegebenen Verzeichnis, sonst dem aus KALMORA_DIR, sonst dem Verzeichnis\n"
    "dieses Programms. KALMORA_NOW (z. B. 2026-12-07T09:00:00) legt den Zeitpunkt\n"
    "fest, ab dem gezählt wird.\n"
    "\n"
    "Beispiel: kalmora-ical > kalmora.ics\n"
    "\n"
    "Rückgabewert: 0 bei Erfolg, 2 wenn die Daten nicht gelesen werden können.\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "kalmora-ical: %s\n", message.toUtf8().constData());
    return 2;
}

}

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(u'-')))
        return fail(QStringLiteral("Falscher Aufruf. Hilfe: kalmora-ical --help"));
    if (args.size() == 1) {
        if (args[0].isEmpty())
            return fail(QStringLiteral("Das Programmverzeichnis ist leer angegeben."));
        setProgramDirectory(args[0]);
    }
    if (!Clock::initFromEnvironment())
        return fail(QStringLiteral("KALMORA_NOW ist kein Zeitpunkt nach ISO 8601 (z. B. 2026-12-07T09:00:00)."));
    const QString directory = ProgramDirectory();
    if (!QDir(directory).exists())
        return fail(QStringLiteral("Das Programmverzeichnis %1 gibt es nicht.").arg(QDir::toNativeSeparators(directory)));
    QByteArray document;
    try {
        document = CalendarExport::document(Clock::now());
    } catch (const KalmoraError &error) {
        return fail(error.message());
    }
    if (std::fwrite(document.constData(), 1, size_t(document.size()), stdout) != size_t(document.size())
        || std::fflush(stdout) != 0)
        return fail(QStringLiteral("Die Ausgabe kann nicht geschrieben werden."));
    return 0;
}
