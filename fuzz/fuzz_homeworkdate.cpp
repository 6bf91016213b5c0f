// Fuzzes the check of a typed homework due date: an accepted text is a real date in the form the homework sections use.
#include "FuzzCheck.h"

#include "eingabe/HomeworkDate.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Errors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The entry field gives any text; Latin-1 reaches every byte value.
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    HomeworkDate::Checked checked;
    try {
        checked = HomeworkDate::checkDueDate(text);
    } catch (const EConvertError &) {
        return 0; // day or month not a number: refused with a message
    }
    if (!checked.accepted)
        return 0;

    FUZZ_CHECK(checked.text.size() == 10 && checked.text[2] == u'.' && checked.text[5] == u'.');
    const std::optional<QDate> date = DateText::tryParse(checked.text);
    FUZZ_CHECK(date && date->isValid());
    FUZZ_CHECK(DateText::formatLong(*date) == checked.text);
    // February counts 28 days in every year.
    FUZZ_CHECK(!(date->month() == 2 && date->day() > 28));

    // The normalised text is accepted again as it is.
    const HomeworkDate::Checked again = HomeworkDate::checkDueDate(checked.text);
    FUZZ_CHECK(again.accepted && again.text == checked.text);
    return 0;
}
