// The parts of a document address: [protocol "://"][user[":"password]"@"]host[":"port][path].
#pragma once

#include <QString>

struct UrlParts
{
    QString protocol; // "http" when the address names none
    QString user;
    QString password;
    QString host;
    QString port; // empty when the address names none
    QString path; // "/" when the address names none
};

/// Splits an address. The protocol is the text before "://" (only where that
/// comes before any "/"); the host part runs from there to the first "/",
/// which starts the path. In the host part the last "@" ends the user
/// information (user, and after its first ":" the password), and a ":" after
/// the host starts the port. Nothing is checked or decoded.
UrlParts SplitUrl(const QString &url);
