// The research server's address, the proxy from the environment, and the banner name rule.
#include "ResearchServer.h"

#include "platform/ProgramDirectory.h"

#include <QStringList>

const QString &ResearchServer::DefaultBaseUrl()
{
    // A reserved name that never resolves: the address of the real server is
    // given with KALMORA_RESEARCH_URL. Plain HTTP, since the client speaks no TLS.
    static const QString url = QStringLiteral("http://kalmora.example/recherche/");
    return url;
}

const QString &ResearchServer::CatalogueName()
{
    static const QString name = QStringLiteral("_kli.cfg");
    return name;
}

QString ResearchServer::ResearchBaseUrl()
{
    QString url = qEnvironmentVariable("KALMORA_RESEARCH_URL").trimmed();
    if (url.isEmpty())
        return DefaultBaseUrl();
    if (!url.endsWith(u'/'))
        url += u'/';
    return url;
}

ResearchServer::Proxy ResearchServer::ProxySettings()
{
    QString text = qEnvironmentVariable("http_proxy").trimmed();
    if (text.isEmpty())
        text = qEnvironmentVariable("HTTP_PROXY").trimmed();
    Proxy proxy;
    if (text.isEmpty())
        return proxy;
    // The environment usually holds a whole address; what the download needs is its host:port.
    const qsizetype separator = text.indexOf(QLatin1String("://"));
    if (separator >= 0)
        text.remove(0, separator + 3);
    const qsizetype slash = text.indexOf(u'/');
    if (slash >= 0)
        text.truncate(slash);
    const qsizetype at = text.lastIndexOf(u'@');
    if (at >= 0) {
        const QString userInfo = text.left(at);
        proxy.user = userInfo.section(u':', 0, 0);
        proxy.password = userInfo.section(u':', 1);
        text.remove(0, at + 1);
    }
    const qsizetype colon = text.indexOf(u':');
    proxy.host = text.left(colon);
    proxy.port = colon >= 0 ? text.mid(colon + 1) : QString();
    if (proxy.port.isEmpty())
        proxy.port = QStringLiteral("80");
    return proxy;
}

bool ResearchServer::IsBannerName(const QString &name)
{
    static const QStringList kEndings = {".bmp", ".png", ".jpg", ".jpeg", ".gif"};
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.contains(QLatin1String(".."))
        || name.contains(u':'))
        return false;
    // Control characters have no place in a file name, and wildcards would
    // make the case-insensitive lookup in the program directory match other files.
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringView(u"*?[]").contains(c))
            return false;
    }
    for (const QString &ending : kEndings) {
        if (name.size() > ending.size() && name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString ResearchServer::BannerPath(const QString &name)
{
    return IsBannerName(name) ? DataFilePath(name) : QString();
}
