// Adding, changing and taking out the class's texts in the planner's homework.
#include "ClassListMerge.h"

#include "sync/SyncMerge.h"

#include <QHash>

#include <optional>

namespace ClassListMerge {

namespace {

using Entry = ClassListState::Entry;
using Kind = ClassListState::Kind;
const QString kSeparator = QStringLiteral(" | ");

std::optional<HomeworkItem> find(const HomeworkSource &homework, QDate due, const QString &subject)
{
    const QString key = homeworkKey(due, subject);
    for (const HomeworkItem &item : homework.all()) {
        if (homeworkKey(item) == key)
            return item;
    }
    return std::nullopt;
}

void addClassText(HomeworkSource &homework, const HomeworkItem &item)
{
    const std::optional<HomeworkItem> local = find(homework, item.due, item.subject);
    if (!local) {
        homework.add({item.due, item.subject, marked(item.text), false});
        return;
    }
    const QString text = withClassText(local->text, item.text);
    if (text != local->text)
        homework.setText(item.due, local->subject, text);
}

void removeClassText(HomeworkSource &homework, const Entry &entry)
{
    const std::optional<HomeworkItem> local = find(homework, entry.due, entry.subject);
    if (!local)
        return;
    const QString rest = withoutClassText(local->text, entry.text);
    if (rest.isEmpty())
        homework.remove(entry.due, local->subject);
    else if (rest != local->text)
        homework.setText(entry.due, local->subject, rest);
}

// A changed class todo: on the same subject and date its text is replaced in place, so the tick stays.
void replaceClassText(HomeworkSource &homework, const Entry &entry, const HomeworkItem &item)
{
    const std::optional<HomeworkItem> local = find(homework, entry.due, entry.subject);
    if (!local || homeworkKey(entry.due, entry.subject) != homeworkKey(item)) {
        removeClassText(homework, entry);
        addClassText(homework, item);
        return;
    }
    const QString text = withClassText(withoutClassText(local->text, entry.text), item.text);
    if (text != local->text)
        homework.setText(entry.due, local->subject, text);
}

bool holdsClassText(const HomeworkSource &homework, const Entry &entry)
{
    const std::optional<HomeworkItem> local = find(homework, entry.due, entry.subject);
    return local && local->text.contains(marked(entry.text));
}

bool sameTodo(const Entry &e, const HomeworkItem &item)
{
    return e.due == item.due && e.subject.compare(item.subject, Qt::CaseInsensitive) == 0 && e.text == item.text;
}

// The pupil's own todo as the class left it: a change by others merges with
// the pupil's text. Where others took that text out or moved the todo, the todo
// is the class's from then on and the pupil's text stays beside it.
Entry takeShared(Entry entry, const ClassTodo &todo, HomeworkSource &homework)
{
    if (!entry.etag.isEmpty() && sameTodo(entry, todo.item)) {
        entry.etag = todo.etag;
        return entry;
    }
    const std::optional<HomeworkItem> local = find(homework, entry.due, entry.subject);
    const Entry now{entry.href, todo.etag, todo.item.due, todo.item.subject, todo.item.text, Kind::Shared};
    if (!local)
        return {now.href, now.etag, now.due, now.subject, now.text, Kind::Dropped};
    const QString own = ownText(local->text);
    const std::optional<HomeworkItem> base =
        entry.etag.isEmpty() ? std::nullopt : std::optional(HomeworkItem{entry.due, entry.subject, entry.text, false});
    const QString merged =
        SyncMerge::mergeItems(base, {entry.due, entry.subject, own, false}, {entry.due, entry.subject, todo.item.text, false}).text;
    if (homeworkKey(entry.due, entry.subject) != homeworkKey(todo.item) || !merged.contains(own)) {
        addClassText(homework, todo.item);
        return {now.href, now.etag, now.due, now.subject, now.text, Kind::Taken};
    }
    if (merged != own)
        homework.setText(entry.due, local->subject, merged + local->text.mid(own.size()));
    return now;
}

}

QString marked(const QString &classText)
{
    return QStringLiteral("(Klasse) ") + classText;
}

QString withClassText(const QString &local, const QString &classText)
{
    if (local.trimmed().isEmpty())
        return marked(classText);
    if (local.contains(marked(classText)) || ownText(local) == classText)
        return local;
    return local + kSeparator + marked(classText);
}

QString withoutClassText(const QString &local, const QString &classText)
{
    const QString part = marked(classText);
    if (local == part)
        return QString();
    QString rest = local;
    if (rest.endsWith(kSeparator + part))
        rest.chop(kSeparator.size() + part.size());
    else if (rest.startsWith(part + kSeparator))
        rest.remove(0, part.size() + kSeparator.size());
    else
        rest.replace(kSeparator + part + kSeparator, kSeparator);
    return rest;
}

QString ownText(const QString &local)
{
    if (local.startsWith(marked(QString())))
        return QString();
    const qsizetype first = local.indexOf(kSeparator + marked(QString()));
    return first < 0 ? local : local.left(first);
}

QList<Entry> take(const QList<Entry> &entries, const QList<ClassTodo> &todos, HomeworkSource &homework, QDate today)
{
    QHash<QString, Entry> known; // href -> entry
    QList<Entry> kept;
    for (const Entry &e : entries) {
        if (e.due <= today)
            continue; // past homework: the planner prunes it, the class list keeps it
        if (e.href.isEmpty())
            kept.append(e); // a share still to be written
        else
            known.insert(e.href, e);
    }
    for (const ClassTodo &todo : todos) {
        if (todo.item.due <= today)
            continue;
        const std::optional<Entry> entry = known.contains(todo.href) ? std::optional(known.take(todo.href)) : std::nullopt;
        if (entry && entry->kind == Kind::Shared) {
            kept.append(takeShared(*entry, todo, homework));
            continue;
        }
        Entry now{todo.href, todo.etag, todo.item.due, todo.item.subject, todo.item.text, Kind::Taken};
        if (entry && sameTodo(*entry, todo.item)) {
            // Unchanged by the class: a text no longer in the homework was removed by the pupil.
            now.kind = entry->kind == Kind::Taken && holdsClassText(homework, *entry) ? Kind::Taken : Kind::Dropped;
            kept.append(now);
            continue;
        }
        if (entry && entry->kind == Kind::Taken)
            replaceClassText(homework, *entry, todo.item);
        else
            addClassText(homework, todo.item);
        kept.append(now);
    }
    // Gone from the class list: its text goes from the homework; the pupil's own homework stays.
    for (const Entry &e : std::as_const(known)) {
        if (e.kind == Kind::Taken)
            removeClassText(homework, e);
        else if (e.kind == Kind::Shared && e.etag.isEmpty())
            kept.append(e); // not written yet
    }
    return kept;
}

}
