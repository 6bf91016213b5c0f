// Fuzzes the reader of the school's iCalendar feeds: it refuses or reads, ends soon, and every
// date it gives touches the span, lasts no longer than a year and stays within the limits.
#include "FuzzCheck.h"

#include "schoolcalendar/SchoolCalendarError.h"
#include "schoolcalendar/SchoolFeed.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDate from(2027, 3, 14);
    const QDate to(2027, 5, 9);
    SchoolFeed::Reading reading;
    try {
        reading = SchoolFeed::read(input, from, to, QStringLiteral("Fuzz"));
    } catch (const SchoolCalendarError &error) {
        FUZZ_CHECK(!error.message().isEmpty());
        return 0;
    }
    FUZZ_CHECK(reading.dates.size() <= SchoolFeed::MostDates);
    const QDateTime spanStart = from.startOfDay();
    const QDateTime spanEnd = to.addDays(1).startOfDay();
    for (qsizetype i = 0; i < reading.dates.size(); ++i) {
        const SchoolDate &date = reading.dates[i];
        FUZZ_CHECK(date.start.isValid() && date.end.isValid());
        FUZZ_CHECK(date.start < spanEnd && date.end >= spanStart);
        FUZZ_CHECK(date.start <= date.end && date.start.secsTo(date.end) <= 367LL * 86400);
        FUZZ_CHECK(date.source == QLatin1String("Fuzz"));
        if (i > 0)
            FUZZ_CHECK(reading.dates[i - 1].start <= date.start);
        FUZZ_CHECK(!SchoolDates::line(date).isEmpty());
    }
    return 0;
}
