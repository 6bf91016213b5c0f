// Fuzzes the todo mapping with a server's calendar objects: reading refuses or gives a todo
// with a UID; the homework it makes keeps its due date, subject and mark when the planner
// writes it back into the object, and a second write changes nothing the planner reads.
#include "FuzzCheck.h"

#include "sync/TodoMapping.h"

#include <QDateTime>

#include <cstddef>
#include <cstdint>

namespace {

const QStringList kSubjects = {QStringLiteral("Mathematik"), QStringLiteral("Deutsch"), QStringLiteral("Sonstiges")};

std::optional<HomeworkItem> homeworkOf(const QByteArray &object)
{
    const std::optional<TodoMapping::Todo> todo = TodoMapping::parse(object);
    if (!todo)
        return std::nullopt;
    FUZZ_CHECK(!todo->uid.isEmpty());
    FUZZ_CHECK(!todo->due || todo->due->isValid());
    const std::optional<HomeworkItem> item = TodoMapping::toHomework(*todo, kSubjects);
    FUZZ_CHECK(item.has_value() == todo->due.has_value());
    if (item) {
        FUZZ_CHECK(kSubjects.contains(item->subject));
        FUZZ_CHECK(item->due == *todo->due && item->done == todo->done);
    }
    return item;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray object(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<HomeworkItem> read = homeworkOf(object);
    if (!read)
        return 0;
    const QString uid = TodoMapping::parse(object)->uid;
    const QDateTime stamp(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);

    const QByteArray written = TodoMapping::update(object, uid, *read, stamp);
    const std::optional<HomeworkItem> first = homeworkOf(written);
    FUZZ_CHECK(first.has_value());
    FUZZ_CHECK(first->due == read->due && first->subject == read->subject && first->done == read->done);

    const QByteArray again = TodoMapping::update(written, TodoMapping::parse(written)->uid, *first, stamp);
    const std::optional<HomeworkItem> second = homeworkOf(again);
    FUZZ_CHECK(second.has_value() && *second == *first);
    FUZZ_CHECK(TodoMapping::parse(again)->uid == TodoMapping::parse(written)->uid);
    return 0;
}
