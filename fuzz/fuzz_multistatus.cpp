// Fuzzes the reader of a CalDAV server's multistatus answers: it reads or refuses, ends soon,
// and what it gives is trimmed, bounded by the answer's size and the same on a second reading.
#include "FuzzCheck.h"

#include "sync/Multistatus.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<Multistatus> answer = Multistatus::parse(input);
    if (!answer)
        return 0;
    // The shortest response is "<response/>".
    FUZZ_CHECK(answer->responses.size() * 11 <= input.size());
    FUZZ_CHECK(answer->syncToken == answer->syncToken.trimmed());
    for (const Multistatus::Response &response : answer->responses) {
        FUZZ_CHECK(response.href == response.href.trimmed());
        for (const QString &component : response.components)
            FUZZ_CHECK(component == component.toUpper());
        for (const QString &href : response.innerHref)
            FUZZ_CHECK(href == href.trimmed());
    }
    const std::optional<Multistatus> again = Multistatus::parse(input);
    FUZZ_CHECK(again && again->responses.size() == answer->responses.size() && again->syncToken == answer->syncToken);
    return 0;
}
