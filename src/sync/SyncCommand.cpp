// One sync run with the stored settings.
#include "SyncCommand.h"

#include "HomeworkStoreSource.h"

namespace SyncCommand {

Result run(const SyncSettings::Options &options, const QString &password)
{
    if (!options.active || options.server.trimmed().isEmpty())
        throw CalDavError(QStringLiteral("Die Synchronisation ist nicht eingerichtet (Einstellungen, Karte „Extras“)."));
    CalDavClient client({options.server, options.user, password});
    HomeworkStoreSource homework;
    SyncEngine engine(client, homework);
    Result result;
    result.report = engine.run(options);
    result.classList = ClassListSync(client, homework).run(ClassListSettings::load());
    result.requests = client.requestCount();
    return result;
}

QString statusText(const QDateTime &lastSync, int skipped)
{
    if (!lastSync.isValid())
        return QStringLiteral("Noch nicht synchronisiert.");
    QString text = QStringLiteral("Zuletzt synchronisiert: %1").arg(lastSync.toString(QStringLiteral("dd.MM.yyyy, HH:mm")));
    if (skipped == 1)
        text += QStringLiteral(" (1 Aufgabe ohne künftiges Fälligkeitsdatum bleibt nur auf dem Server)");
    else if (skipped > 1)
        text += QStringLiteral(" (%1 Aufgaben ohne künftiges Fälligkeitsdatum bleiben nur auf dem Server)").arg(skipped);
    return text;
}

}
