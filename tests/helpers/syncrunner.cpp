// Runs one sync of the program directory given, printing "b" before and "e" after it, for the kill tests
// (killed from outside, or by itself before a rename as KillAtRename.h says).
#include "KillAtRename.h"
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"
#include "sync/SyncCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    KillAtRename::arm();
    setProgramDirectory(QString::fromLocal8Bit(argv[1]));
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    std::fputs("b\n", stdout);
    std::fflush(stdout);
    try {
        SyncCommand::run(SyncSettings::load(), QStringLiteral("geheim"));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
    std::fputs("e\n", stdout);
    return 0;
}
