// Fuzzes the reader of an HTTP answer's header lines.
#include "FuzzCheck.h"

#include "WebClient/HeaderLine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The web client reads header lines as Latin-1.
    const QString line = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const HeaderLine parsed = ParseHeaderLine(line);
    switch (parsed.kind) {
    case HeaderLine::Kind::Status:
        FUZZ_CHECK(line.startsWith(u"HTTP/1.0") || line.startsWith(u"HTTP/1.1"));
        FUZZ_CHECK(parsed.statusCode >= 0 && parsed.statusCode <= 999);
        FUZZ_CHECK(parsed.statusCode == 0 || line.mid(9, 3) == QString::number(parsed.statusCode).rightJustified(3, u'0'));
        FUZZ_CHECK(line.endsWith(parsed.reasonPhrase));
        FUZZ_CHECK(parsed.name.isEmpty() && parsed.value.isEmpty());
        break;
    case HeaderLine::Kind::Field: {
        const qsizetype colon = line.indexOf(u':');
        FUZZ_CHECK(colon >= 0 && !parsed.name.contains(u':'));
        FUZZ_CHECK(parsed.name == line.left(colon).toLower());
        FUZZ_CHECK(line.endsWith(parsed.value) && parsed.value.size() <= line.size() - colon - 1);
        FUZZ_CHECK(parsed.statusCode == 0 && parsed.reasonPhrase.isEmpty());
        break;
    }
    case HeaderLine::Kind::Other:
        FUZZ_CHECK(!line.contains(u':'));
        FUZZ_CHECK(parsed.name.isEmpty() && parsed.value.isEmpty() && parsed.reasonPhrase.isEmpty());
        break;
    }
    return 0;
}
