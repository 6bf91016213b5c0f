// A WebDAV multistatus answer (RFC 4918) read with QXmlStreamReader.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct Multistatus
{
    /// The properties of one response that came with status 200.
    struct Response
    {
        QString href;
        int status = 200;                   // the response's own status, when it has one
        QHash<QString, QString> text;       // local property name -> its text
        QHash<QString, QString> innerHref;  // local property name -> the href inside it
        QStringList resourceTypes;          // local names in resourcetype
        QStringList components;             // the names in supported-calendar-component-set
        QStringList privileges;             // the local names in current-user-privilege-set
    };
    QList<Response> responses;
    QString syncToken;

    /// None when the bytes are no well-formed multistatus document.
    static std::optional<Multistatus> parse(const QByteArray &bytes);
};
