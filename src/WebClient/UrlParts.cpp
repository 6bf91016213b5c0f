// Splitting a document address into its parts.
#include "UrlParts.h"

UrlParts SplitUrl(const QString &url)
{
    UrlParts parts;
    qsizetype hostBegin = 0;
    const qsizetype separator = url.indexOf(QLatin1String("://"));
    // A "://" inside the path (a query naming another address) is no protocol.
    if (separator >= 0 && !url.left(separator).contains(u'/')) {
        parts.protocol = url.left(separator);
        hostBegin = separator + 3;
    }
    if (parts.protocol.isEmpty())
        parts.protocol = QStringLiteral("http");

    const qsizetype pathBegin = url.indexOf(u'/', hostBegin);
    QString hostPart = url.mid(hostBegin, pathBegin < 0 ? -1 : pathBegin - hostBegin);
    parts.path = pathBegin < 0 ? QStringLiteral("/") : url.mid(pathBegin);

    const qsizetype at = hostPart.lastIndexOf(u'@');
    if (at >= 0) {
        const QString userInfo = hostPart.left(at);
        const qsizetype colon = userInfo.indexOf(u':');
        parts.user = userInfo.left(colon);
        if (colon >= 0)
            parts.password = userInfo.mid(colon + 1);
        hostPart.remove(0, at + 1);
    }
    const qsizetype colon = hostPart.indexOf(u':');
    parts.host = hostPart.left(colon);
    if (colon >= 0)
        parts.port = hostPart.mid(colon + 1);
    return parts;
}
