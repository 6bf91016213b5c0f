// One sync run with the stored settings.
#include "SyncCommand.h"

#include "HomeworkStoreSource.h"

namespace SyncCommand {

Result run(const SyncSettings::Options &options, const ClassListSettings::Options &classList, const QString &password,
           HomeworkSource &homework, const SyncEngine::Progress &progress, const std::atomic_bool *cancel)
{
    if (!options.active || options.server.trimmed().isEmpty())
        throw CalDavError(QStringLiteral("Die Synchronisation ist nicht eingerichtet (Einstellungen, Karte „Extras“)."));
    if (options.tasks.isEmpty() && options.events.isEmpty())
        throw CalDavError(QStringLiteral("Es wird nichts abgeglichen: Weder eine Aufgabenliste noch ein Kalender ist gewählt. "
                                         "Wählen Sie sie in den Einstellungen auf der Karte „Extras“ oder „Neu anlegen“."));
    CalDavClient client({options.server, options.user, password});
    client.setCancel(cancel);
    SyncEngine engine(client, homework);
    engine.setProgress(progress);
    Result result;
    result.report = engine.run(options);
    result.classList = ClassListSync(client, homework).run(classList);
    result.requests = client.requestCount();
    return result;
}

Result run(const SyncSettings::Options &options, const QString &password)
{
    HomeworkStoreSource homework;
    return run(options, ClassListSettings::load(), password, homework, {}, nullptr);
}

QString statusText(const QDateTime &lastSync, int skipped, const SyncSettings::Options &options)
{
    if (options.active && options.tasks.isEmpty() && options.events.isEmpty())
        return QStringLiteral("Es wird nichts abgeglichen: Weder eine Aufgabenliste noch ein Kalender ist gewählt.");
    QString text = QStringLiteral("Noch nicht synchronisiert.");
    if (lastSync.isValid())
        text = QStringLiteral("Zuletzt synchronisiert: %1").arg(lastSync.toString(QStringLiteral("dd.MM.yyyy, HH:mm")));
    if (lastSync.isValid() && skipped == 1)
        text += QStringLiteral(" (1 Aufgabe ohne künftiges Fälligkeitsdatum bleibt nur auf dem Server)");
    else if (lastSync.isValid() && skipped > 1)
        text += QStringLiteral(" (%1 Aufgaben ohne künftiges Fälligkeitsdatum bleiben nur auf dem Server)").arg(skipped);
    if (options.active && options.tasks.isEmpty())
        text += QStringLiteral(" Die Hausaufgaben werden nicht abgeglichen (keine Aufgabenliste gewählt).");
    else if (options.active && options.events.isEmpty())
        text += QStringLiteral(" Die Termine werden nicht abgeglichen (kein Kalender gewählt).");
    return text;
}

QString progressText(SyncEngine::Phase phase, int done, int total)
{
    return QStringLiteral("Synchronisation läuft: %1 %2 von %3 übertragen ...")
        .arg(phase == SyncEngine::Phase::Todos ? QStringLiteral("Hausaufgaben") : QStringLiteral("Termine"))
        .arg(done)
        .arg(total);
}

}
