// Base64 encoding of the credentials in the authorization headers.
#include "Base64.h"

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

QByteArray Base64Encode(QByteArrayView data)
{
    QByteArray out;
    out.reserve((data.size() + 2) / 3 * 4);
    qsizetype i = 0;
    for (; i + 2 < data.size(); i += 3) {
        const uint group = uint(uchar(data[i])) << 16 | uint(uchar(data[i + 1])) << 8 | uchar(data[i + 2]);
        out.append(kAlphabet[group >> 18 & 63]).append(kAlphabet[group >> 12 & 63])
            .append(kAlphabet[group >> 6 & 63]).append(kAlphabet[group & 63]);
    }
    const qsizetype rest = data.size() - i;
    if (rest > 0) {
        const uint group = uint(uchar(data[i])) << 16 | (rest == 2 ? uint(uchar(data[i + 1])) << 8 : 0u);
        out.append(kAlphabet[group >> 18 & 63]).append(kAlphabet[group >> 12 & 63]);
        out.append(rest == 2 ? kAlphabet[group >> 6 & 63] : '=').append('=');
    }
    return out;
}
