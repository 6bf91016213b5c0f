// One CalDAV synchronisation without windows, for cron and scripts.
#include "platform/Counted.h"
#include "platform/Errors.h"
#include "sync/SyncCommand.h"
#include "sync/SyncPassword.h"
#include "ToolCall.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const char kHelp[] =
    "Aufruf: kalmora-sync [PROGRAMMVERZEICHNIS]\n"
    "\n"
    "Gleicht die Hausaufgaben des Schulplaners einmal mit der Aufgabenliste des\n"
    "CalDAV-Servers ab (in beide Richtungen) und schreibt die Termine, Alarme und\n"
    "Ferien in den gewählten Kalender. Server, Benutzer und Sammlungen stehen im\n"
    "Abschnitt [CALDAV] der Datei DEZUVEDIRED.INI; eingerichtet wird das in den\n"
    "Einstellungen auf der Karte \"Extras\". Ist im Abschnitt [KLASSE] eine\n"
    "Aufgabenliste der Klasse eingeschaltet, wird sie im selben Lauf abgeglichen.\n"
    "\n"
    "Das Passwort kommt aus der Umgebungsvariablen KALMORA_CALDAV_PASSWORD, sonst\n"
    "aus dem Schlüsselbund der Arbeitsumgebung.\n"
    "\n"
    "Rückgabewert: 0 bei Erfolg, 2 mit einer Meldung, wenn es nicht gelingt.\n";

const char kTool[] = "kalmora-sync";

}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (const std::optional<int> ended = ToolCall::start(kTool, kHelp, argc, argv))
        return *ended;
    try {
        const SyncSettings::Options options = SyncSettings::load();
        QString password;
        if (!options.user.trimmed().isEmpty()) {
            const std::optional<QString> stored = SyncPassword::read(options.server, options.user);
            if (!stored)
                return ToolCall::fail(kTool, QStringLiteral("Kein Passwort: bitte KALMORA_CALDAV_PASSWORD setzen oder es in den Einstellungen speichern."));
            password = *stored;
        }
        const SyncCommand::Result result = SyncCommand::run(options, password);
        const QString summary = QStringLiteral("Synchronisiert: %1 im Planer, %2 auf dem Server, %3.\n")
                                    .arg(counted(result.report.taken, "Änderung", "Änderungen"))
                                    .arg(result.report.written)
                                    .arg(counted(result.requests, "Anfrage", "Anfragen"));
        std::fputs(summary.toLocal8Bit().constData(), stdout);
        if (ClassListSettings::load().inUse())
            std::fputs(QStringLiteral("Klassenliste: %1 gelesen, %2 geschrieben.\n")
                           .arg(counted(result.classList.taken, "Aufgabe", "Aufgaben"))
                           .arg(result.classList.written)
                           .toLocal8Bit()
                           .constData(),
                       stdout);
    } catch (const KalmoraError &error) {
        return ToolCall::fail(kTool, error.message());
    }
    return 0;
}
