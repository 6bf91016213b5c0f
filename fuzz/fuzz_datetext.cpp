// Fuzzes the date and time text readers: whatever they accept is a valid date or time that formats and reads back the same.
#include "FuzzCheck.h"

#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Errors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A missing or short year depends on today: the same input must mean the same date on every run.
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));

    const std::optional<QDate> date = DateText::tryParse(text);
    bool thrown = false;
    try {
        const QDate parsed = DateText::parse(text);
        FUZZ_CHECK(date && parsed == *date);
    } catch (const EConvertError &) {
        thrown = true;
    }
    FUZZ_CHECK(thrown == !date);
    if (date) {
        FUZZ_CHECK(date->isValid() && date->year() >= 1);
        FUZZ_CHECK(DateText::tryParse(DateText::formatLong(*date)) == date);
        // A year below 100 written short would read back in the current century.
        if (date->year() >= 100)
            FUZZ_CHECK(DateText::tryParse(DateText::formatShort(*date)) == date);
    }

    const std::optional<QTime> time = DateText::tryParseTime(text);
    if (time) {
        FUZZ_CHECK(time->isValid());
        FUZZ_CHECK(DateText::tryParseTime(time->toString(QStringLiteral("H:m:s"))) == time);
        FUZZ_CHECK(DateText::tryParseTime(time->toString(QStringLiteral("HH:mm"))) == QTime(time->hour(), time->minute()));
    }
    return 0;
}
