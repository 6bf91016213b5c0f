// Fuzzes the splitting of a document address into protocol, user, password, host, port and path.
#include "FuzzCheck.h"

#include "WebClient/UrlParts.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Addresses come typed or from a "Location" header read as Latin-1.
    const QString url = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const UrlParts parts = SplitUrl(url);

    FUZZ_CHECK(!parts.protocol.isEmpty() && !parts.protocol.contains(u'/'));
    FUZZ_CHECK(parts.path.startsWith(u'/'));
    FUZZ_CHECK(parts.path == u"/" || url.endsWith(parts.path));
    for (const QString *part : {&parts.user, &parts.password, &parts.host, &parts.port})
        FUZZ_CHECK(!part->contains(u'/') && url.contains(*part));
    FUZZ_CHECK(!parts.user.contains(u':'));
    FUZZ_CHECK(!parts.host.contains(u'@') && !parts.host.contains(u':'));
    FUZZ_CHECK(!parts.port.contains(u'@'));

    // The parts written as a full address split into the same parts.
    QString canonical = parts.protocol + u"://";
    if (!parts.user.isEmpty() || !parts.password.isEmpty())
        canonical += parts.user + (parts.password.isEmpty() ? QString() : u':' + parts.password) + u'@';
    canonical += parts.host + (parts.port.isEmpty() ? QString() : u':' + parts.port) + parts.path;
    const UrlParts again = SplitUrl(canonical);
    FUZZ_CHECK(again.protocol == parts.protocol && again.user == parts.user && again.password == parts.password);
    FUZZ_CHECK(again.host == parts.host && again.port == parts.port && again.path == parts.path);
    return 0;
}
