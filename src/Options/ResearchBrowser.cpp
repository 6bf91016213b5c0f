// Opening a research link: only web addresses, handed to the browser as one argument.
#include "ResearchBrowser.h"

#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

bool startDetached(const ResearchBrowser::Command &command)
{
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
#ifdef Q_OS_WIN
    // The browser opens maximized, as it always did.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
    });
#endif
    return process.startDetached();
}

ResearchBrowser::Starter &starter()
{
    static ResearchBrowser::Starter s = startDetached;
    return s;
}

// The program that opens an address in the browser the desktop has chosen.
QString browserCommand()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("explorer.exe");
#else
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#endif
}

}

const QString &ResearchBrowser::RefusedText()
{
    static const QString text = QStringLiteral("ERROR: Adresse wird nicht geöffnet!");
    return text;
}

const QString &ResearchBrowser::NoBrowserText()
{
    static const QString text = QStringLiteral("ERROR: Standardbrowser kann nicht gefunden werden!");
    return text;
}

bool ResearchBrowser::IsWebAddress(const QString &address)
{
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://")}) {
        if (address.startsWith(scheme, Qt::CaseInsensitive))
            return address.size() > scheme.size();
    }
    return false;
}

QString ResearchBrowser::OpenInBrowser(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (!IsWebAddress(trimmed))
        return RefusedText();
    const QString program = browserCommand();
    if (program.isEmpty())
        return NoBrowserText();
    starter()({program, {trimmed}});
    return QString();
}

void ResearchBrowser::setStarter(Starter s)
{
    starter() = s ? std::move(s) : Starter(startDetached);
}
