// What the command-line tools beside the program share: the call, the program directory, German failures.
#include "ToolCall.h"

#include "backup/Restore.h"
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QStringList>

#include <cstdio>

std::optional<int> ToolCall::start(const char *tool, const char *help, int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(help, stdout);
        return 0;
    }
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(u'-')))
        return fail(tool, QStringLiteral("Falscher Aufruf. Hilfe: %1 --help").arg(QString::fromLatin1(tool)));
    if (args.size() == 1) {
        if (args[0].isEmpty())
            return fail(tool, QStringLiteral("Das Programmverzeichnis ist leer angegeben."));
        setProgramDirectory(args[0]);
    }
    if (!Clock::initFromEnvironment())
        return fail(tool, QStringLiteral("KALMORA_NOW ist kein Zeitpunkt nach ISO 8601 (z. B. 2026-12-07T09:00:00)."));
    const QString directory = ProgramDirectory();
    if (!QDir(directory).exists())
        return fail(tool, QStringLiteral("Das Programmverzeichnis %1 gibt es nicht.").arg(QDir::toNativeSeparators(directory)));
    // A restore cut off after it was complete is finished first, as the
    // program's start does, so that the tool never reads half old, half new files.
    try {
        Restore::recoverInterrupted();
    } catch (const std::exception &) {
        return fail(tool, QStringLiteral("Eine abgebrochene Wiederherstellung in %1 kann nicht abgeschlossen werden.")
                              .arg(QDir::toNativeSeparators(directory)));
    }
    return std::nullopt;
}

int ToolCall::fail(const char *tool, const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", tool, message.toUtf8().constData());
    return Failed;
}

std::optional<int> ToolCall::writeOut(const char *tool, const QByteArray &bytes)
{
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) || std::fflush(stdout) != 0)
        return fail(tool, QStringLiteral("Die Ausgabe kann nicht geschrieben werden."));
    return std::nullopt;
}
