// Test helper: takes a snapshot or restores a backup once, for tests that kill it midway.
//
//   backuprunner snapshot DIR DATE
//       takes the daily snapshot of the program directory DIR as on DATE (yyyy-mm-dd);
//   backuprunner restore DIR FILE
//       restores the backup file FILE into DIR.
//   It prints "b" on standard output before the work and "e" after it, so
//   whoever kills it learns whether the kill fell inside. With
//   KALMORA_KILL_AT_RENAME=N in its environment it kills itself just before
//   its N-th rename, so that a test can aim a kill at every step of the work.
#include "KillAtRename.h"
#include "backup/BackupArchive.h"
#include "backup/Restore.h"
#include "backup/Snapshots.h"
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"

#include <QDate>
#include <QString>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    if (argc != 4)
        return 2;
    KillAtRename::arm();
    const QString mode = QString::fromLocal8Bit(argv[1]);
    setProgramDirectory(QString::fromLocal8Bit(argv[2]));
    const QString argument = QString::fromLocal8Bit(argv[3]);
    try {
        if (mode == QStringLiteral("snapshot")) {
            Clock::setNow(QDateTime(QDate::fromString(argument, Qt::ISODate), QTime(7, 30)));
            std::fputs("b\n", stdout);
            std::fflush(stdout);
            Snapshots::takeDailyIfDue();
        } else if (mode == QStringLiteral("restore")) {
            Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(10, 15)));
            const BackupContent content = BackupArchive::read(argument);
            std::fputs("b\n", stdout);
            std::fflush(stdout);
            Restore::replace(content);
        } else {
            return 2;
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::fputs("e\n", stdout);
    std::fflush(stdout);
    return 0;
}
