// Starting the application of a homework as a program with the file as its one argument.
#pragma once

#include "model/AppValue.h"
#include "platform/DetachedProcess.h"

#include <optional>

class Launcher final
{
public:
    /// What is started: a program and its argument list, never a shell command line.
    using Command = DetachedCommand;
    /// Starts a command detached from the program; true when it was started.
    using Starter = DetachedProcess::Starter;

    /// The command for an application. A program text naming an existing file
    /// is the program itself, blanks and all; any other program text is split
    /// into program and arguments by the usual command-line rules (blanks
    /// separate, double quotes group). The file follows as one more argument.
    /// A file without a program is handed to the desktop's opener (xdg-open,
    /// looked up on the PATH). Nothing to start gives no command.
    static std::optional<Command> commandFor(const AppValue &value);

    /// Starts the application of the homework of `subject` on `dueDate`
    /// ("Anwendung starten"). An empty application starts nothing. Whether the
    /// start succeeded is returned for tests; the pupil is not told.
    static bool startHomeworkApplication(const QString &subject, const QString &dueDate);
    /// Starts an application; false when there is nothing to start or the start failed.
    static bool start(const AppValue &value);

    /// Tests: replaces the process start; an empty starter restores it.
    static void setStarter(Starter starter);
};
