// Base64 encoding of the credentials in the authorization headers.
#pragma once

#include <QByteArray>

/// The standard Base64 encoding (alphabet A-Z a-z 0-9 + /, padded with "=").
QByteArray Base64Encode(QByteArrayView data);
