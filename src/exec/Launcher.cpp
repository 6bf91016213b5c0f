// Starting the application of a homework.
#include "Launcher.h"

#include "AppStore.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
bool startDetached(const Launcher::Command &command)
{
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
#ifdef Q_OS_WIN
    // The application opens maximized, as it always did.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
    });
#endif
    return process.startDetached();
}

Launcher::Starter &starter()
{
    static Launcher::Starter s = startDetached;
    return s;
}

// The program that opens a file with the application the desktop associates with it.
QString fileOpener()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("explorer.exe");
#else
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#endif
}
}

std::optional<Launcher::Command> Launcher::commandFor(const AppValue &value)
{
    Command command;
    if (QFileInfo(value.program).isFile()) {
        command.program = value.program;
    } else {
        command.arguments = QProcess::splitCommand(value.program);
        if (!command.arguments.isEmpty())
            command.program = command.arguments.takeFirst();
    }
    if (command.program.isEmpty()) {
        if (value.file.isEmpty())
            return std::nullopt;
        command.program = fileOpener();
        if (command.program.isEmpty())
            return std::nullopt;
    }
    if (!value.file.isEmpty())
        command.arguments.append(value.file);
    return command;
}

bool Launcher::startHomeworkApplication(const QString &subject, const QString &dueDate)
{
    return start(AppStore::homeworkApplication(dueDate, subject));
}

bool Launcher::start(const AppValue &value)
{
    const std::optional<Command> command = commandFor(value);
    return command && starter()(*command);
}

void Launcher::setStarter(Starter s)
{
    starter() = s ? std::move(s) : Starter(startDetached);
}
