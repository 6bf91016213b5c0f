// Opening a research link: only web addresses, handed to the browser as one argument.
#include "ResearchBrowser.h"

namespace {

DetachedStarter &starter()
{
    static DetachedStarter s;
    return s;
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
    // The browser the desktop has chosen opens the address.
    const QString program = DetachedProcess::desktopOpener();
    if (program.isEmpty())
        return NoBrowserText();
    starter()({program, {trimmed}});
    return QString();
}

void ResearchBrowser::setStarter(Starter s)
{
    starter().set(std::move(s));
}
