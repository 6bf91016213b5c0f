// One synchronisation with the stored settings, as the program, the tool and the benchmark start it.
#pragma once

#include "SyncEngine.h"
#include "classlist/ClassListSync.h"

#include <QDateTime>

#include <atomic>

namespace SyncCommand {

struct Result
{
    SyncEngine::Report report;
    int requests = 0; // HTTP requests sent
    ClassListSync::Report classList;
};

/// Runs one sync of the stored settings against the server with `password`
/// (ignored when no user name is set), on the planner's homework in this
/// thread, the class list ("KLASSE") after the own list. Throws CalDavError
/// when the synchronisation is off, has nothing chosen to sync or the server
/// fails, KalmoraError for the data files.
Result run(const SyncSettings::Options &options, const QString &password);
/// The same with the homework of `homework` and the class list of
/// `classList` (read by the caller, in the thread that owns the settings
/// file), the writes told to `progress` and stopped when `cancel` is set (see
/// CalDavClient::setCancel).
Result run(const SyncSettings::Options &options, const ClassListSettings::Options &classList, const QString &password,
           HomeworkSource &homework, const SyncEngine::Progress &progress, const std::atomic_bool *cancel);

/// The status line: "Zuletzt synchronisiert: <date and time>", with the
/// todos left on the server counted and the part not chosen named; "Noch nicht
/// synchronisiert." before the first; with nothing chosen, that nothing is synced.
QString statusText(const QDateTime &lastSync, int skipped, const SyncSettings::Options &options);
/// The status line while a sync writes: "Hausaufgaben: 12 von 300 übertragen ...".
QString progressText(SyncEngine::Phase phase, int done, int total);

}
