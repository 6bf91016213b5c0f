// Starting a program detached: no shell, the arguments as they are.
#include "DetachedProcess.h"

#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool DetachedProcess::start(const DetachedCommand &command)
{
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
#ifdef Q_OS_WIN
    // The window opens maximized, as it always did.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
    });
#endif
    return process.startDetached();
}

QString DetachedProcess::desktopOpener()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("explorer.exe");
#else
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#endif
}

void DetachedStarter::set(DetachedProcess::Starter starter)
{
    m_starter = starter ? std::move(starter) : DetachedProcess::Starter(DetachedProcess::start);
}
