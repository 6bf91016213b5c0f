// "kalmora --sichern FILE" and "kalmora --wiederherstellen FILE": a backup and a restore without windows.
#pragma once

#include <QStringList>

namespace BackupCommand {

inline constexpr char16_t kBackupOption[] = u"--sichern";
inline constexpr char16_t kRestoreOption[] = u"--wiederherstellen";

/// Whether the call asks for one of the two commands (decided before the
/// module that runs them is loaded).
inline bool isBackupCall(const QStringList &arguments)
{
    return arguments.size() > 1 && (arguments.at(1) == kBackupOption || arguments.at(1) == kRestoreOption);
}

/// Runs the command of `arguments` (the program's name first). Messages go to
/// standard output and error in German. Returns 0 on success, 2 on failure.
int run(const QStringList &arguments);

}
