// One synchronisation with the stored settings, as the program, the tool and the benchmark start it.
#pragma once

#include "SyncEngine.h"
#include "classlist/ClassListSync.h"

#include <QDateTime>

namespace SyncCommand {

struct Result
{
    SyncEngine::Report report;
    int requests = 0; // HTTP requests sent
    ClassListSync::Report classList;
};

/// Runs one sync of the stored settings against the server with `password`
/// (ignored when no user name is set), the class list ("KLASSE") after the
/// own list. Throws CalDavError when the synchronisation is off or the server
/// fails, KalmoraError for the data files.
Result run(const SyncSettings::Options &options, const QString &password);

/// The status line: "Zuletzt synchronisiert: <date and time>", with the
/// todos left on the server counted; "Noch nicht synchronisiert." before the first.
QString statusText(const QDateTime &lastSync, int skipped);

}
