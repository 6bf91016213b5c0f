// Starting the application of a homework.
#include "Launcher.h"

#include "model/AppStore.h"

#include <QFileInfo>
#include <QProcess>

namespace {
DetachedStarter &starter()
{
    static DetachedStarter s;
    return s;
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
        // The application the desktop associates with the file opens it.
        command.program = DetachedProcess::desktopOpener();
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
    starter().set(std::move(s));
}
