// Windows-1252 text conversion: a table for 0x80..0x9F, Latin-1 elsewhere.
#include "Win1252.h"

#include <algorithm>
#include <array>

namespace {
// Code points of the bytes 0x80..0x9F; undefined bytes keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return char(0x80 + i);
    }
    return '?';
}
}

namespace Win1252 {

QString decode(QByteArrayView bytes)
{
    // Most text has none of the bytes 0x80..0x9F; it is Latin-1 then, which Qt converts fast.
    const bool latin1 = std::none_of(bytes.begin(), bytes.end(), [](char b) {
        const auto u = static_cast<unsigned char>(b);
        return u >= 0x80 && u < 0xA0;
    });
    if (latin1)
        return QString::fromLatin1(bytes);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *dst++ = (u >= 0x80 && u < 0xA0) ? QChar(kHigh[u - 0x80]) : QChar(u);
    }
    return out;
}

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (QChar c : text)
        *dst++ = encodeOne(c.unicode());
    return out;
}

}
