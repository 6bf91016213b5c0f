// Writes the planner's dates as an iCalendar document to standard output.
#include "calendar/CalendarExport.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "ToolCall.h"


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

const char kTool[] = "kalmora-ical";

}

int main(int argc, char **argv)
{
    if (const std::optional<int> ended = ToolCall::start(kTool, kHelp, argc, argv))
        return *ended;
    QByteArray document;
    try {
        document = CalendarExport::document(Clock::now());
    } catch (const KalmoraError &error) {
        return ToolCall::fail(kTool, error.message());
    }
    return ToolCall::writeOut(kTool, document).value_or(0);
}
