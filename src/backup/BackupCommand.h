// "kalmora --sichern FILE" and "kalmora --wiederherstellen FILE": a backup and a restore without windows.
#pragma once

#include <QStringList>

namespace BackupCommand {

/// Whether the call asks for one of the two commands.
bool isBackupCall(const QStringList &arguments);

/// Runs the command of `arguments` (the program's name first). Messages go to
/// standard output and error in German. Returns 0 on success, 2 on failure.
int run(const QStringList &arguments);

}
