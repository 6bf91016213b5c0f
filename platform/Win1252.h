// Windows-1252 text conversion for the data files written on the old platform.
#pragma once

#include <QByteArray>
#include <QString>

namespace Win1252 {
/// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined
/// map to the control characters of the same number, so every byte round-trips.
QString decode(QByteArrayView bytes);
/// Encodes text as Windows-1252; characters outside the code page become "?".
QByteArray encode(QStringView text);
}
