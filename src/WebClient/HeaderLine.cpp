// Reading one line of an HTTP answer's header.
#include "HeaderLine.h"

#include <algorithm>

HeaderLine ParseHeaderLine(const QString &line)
{
    HeaderLine result;
    if (line.startsWith(QLatin1String("HTTP/1.0")) || line.startsWith(QLatin1String("HTTP/1.1"))) {
        result.kind = HeaderLine::Kind::Status;
        const QString code = line.mid(9, 3);
        if (code.size() == 3 && std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            result.statusCode = code.toInt();
        result.reasonPhrase = line.mid(13);
        return result;
    }
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return result;
    result.kind = HeaderLine::Kind::Field;
    result.name = line.left(colon).toLower();
    result.value = line.mid(colon + 2);
    return result;
}
