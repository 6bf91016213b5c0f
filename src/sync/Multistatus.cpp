// Reading a multistatus document: responses, their properties of status 200, the sync token.
#include "Multistatus.h"

#include <QXmlStreamReader>

namespace {
const QString kDav = QStringLiteral("DAV:");

int statusCode(const QString &line)
{
    // "HTTP/1.1 200 OK"
    const QStringList parts = line.simplified().split(u' ');
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}
}

std::optional<Multistatus> Multistatus::parse(const QByteArray &bytes)
{
    Multistatus result;
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != u"multistatus" || xml.namespaceUri() != kDav)
        return std::nullopt;
    Response response;
    Response pending; // the properties of the propstat being read
    QStringList path; // the open elements below "multistatus"
    QString propName;
    int pendingStatus = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QString name = xml.name().toString();
            path.append(name);
            if (path.size() == 1 && name == u"response")
                response = Response();
            else if (path.size() == 2 && name == u"propstat")
                pending = Response(), pendingStatus = 0;
            else if (path.size() == 4 && path[2] == u"prop")
                propName = name;
            else if (path.size() == 5 && propName == u"resourcetype")
                pending.resourceTypes.append(name);
            else if (path.size() == 5 && propName == u"supported-calendar-component-set" && name == u"comp")
                pending.components.append(xml.attributes().value(QStringLiteral("name")).toString().toUpper());
            else if (path.size() == 6 && propName == u"current-user-privilege-set" && path[4] == u"privilege")
                pending.privileges.append(name);
            else if (path.size() >= 5 && name == u"href" && !propName.isEmpty())
                pending.innerHref.insert(propName, xml.readElementText().trimmed()), path.removeLast();
            else if (path.size() == 2 && name == u"href")
                response.href = xml.readElementText().trimmed(), path.removeLast();
            else if (path.size() == 2 && name == u"status")
                response.status = statusCode(xml.readElementText()), path.removeLast();
            else if (path.size() == 3 && path[1] == u"propstat" && name == u"status")
                pendingStatus = statusCode(xml.readElementText()), path.removeLast();
            else if (path.size() == 1 && name == u"sync-token")
                result.syncToken = xml.readElementText().trimmed(), path.removeLast();
        } else if (token == QXmlStreamReader::Characters && path.size() == 4 && path[2] == u"prop") {
            pending.text[propName] += xml.text().toString();
        } else if (token == QXmlStreamReader::EndElement) {
            if (path.size() == 1 && path[0] == u"response")
                result.responses.append(response);
            // The status may stand before or after the properties.
            if (path.size() == 2 && path[1] == u"propstat" && pendingStatus == 200) {
                for (auto it = pending.text.cbegin(); it != pending.text.cend(); ++it)
                    response.text.insert(it.key(), it.value());
                response.innerHref.insert(pending.innerHref);
                response.resourceTypes += pending.resourceTypes;
                response.components += pending.components;
                response.privileges += pending.privileges;
            }
            if (path.size() == 4)
                propName.clear();
            if (!path.isEmpty())
                path.removeLast();
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return result;
}
