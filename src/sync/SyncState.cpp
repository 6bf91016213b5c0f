// The kept state as a small JSON document, replaced atomically.
#include "SyncState.h"

#include "platform/AtomicFile.h"
#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString SyncState::path()
{
    return DataFilePath(fileName());
}

SyncState SyncState::load()
{
    SyncState state;
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return state;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    state.tasksUrl = root.value(u"tasks").toString();
    state.syncToken = root.value(u"token").toString();
    state.writtenSinceToken = root.value(u"written-since").toBool();
    for (const QJsonValue &value : root.value(u"written-hrefs").toArray())
        state.writtenHrefs.insert(value.toString());
    for (const QJsonValue &value : root.value(u"todos").toArray()) {
        const QJsonObject o = value.toObject();
        const QDate due = QDate::fromString(o.value(u"due").toString(), Qt::ISODate);
        if (!due.isValid())
            continue;
        state.todos.append({o.value(u"uid").toString(), o.value(u"href").toString(), o.value(u"etag").toString(),
                            {due, o.value(u"subject").toString(), o.value(u"text").toString(), o.value(u"done").toBool()}});
        // Files of older versions have no title and note: the next read takes the title as before.
        if (o.contains(u"summary"))
            state.texts.insert(state.todos.last().href, {o.value(u"summary").toString(), o.value(u"note").toString()});
    }
    for (const QJsonValue &value : root.value(u"unread").toArray())
        state.unreadable.insert(value.toString());
    const QJsonObject ignored = root.value(u"ignored").toObject();
    for (auto it = ignored.begin(); it != ignored.end(); ++it)
        state.ignoredEtags.insert(it.key(), it.value().toString());
    state.eventsUrl = root.value(u"events").toString();
    const QJsonObject events = root.value(u"written").toObject();
    for (auto it = events.begin(); it != events.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        state.events.insert(it.key(), {o.value(u"href").toString(), o.value(u"etag").toString(),
                                       o.value(u"fingerprint").toString().toLatin1()});
    }
    state.lastSync = QDateTime::fromString(root.value(u"last").toString(), Qt::ISODate);
    state.skipped = root.value(u"skipped").toInt();
    return state;
}

namespace {
template<typename Value>
QStringList sortedKeys(const QHash<QString, Value> &hash)
{
    QStringList keys = hash.keys();
    keys.sort();
    return keys;
}
}

void SyncState::save() const
{
    QJsonArray todoArray;
    for (const SyncMerge::Record &r : todos) {
        QJsonObject o{{QStringLiteral("uid"), r.uid}, {QStringLiteral("href"), r.href}, {QStringLiteral("etag"), r.etag},
                      {QStringLiteral("due"), r.item.due.toString(Qt::ISODate)}, {QStringLiteral("subject"), r.item.subject},
                      {QStringLiteral("text"), r.item.text}, {QStringLiteral("done"), r.item.done}};
        if (const auto text = texts.constFind(r.href); text != texts.cend()) {
            o.insert(QStringLiteral("summary"), text->summary);
            o.insert(QStringLiteral("note"), text->note);
        }
        todoArray.append(o);
    }
    // Keys in order: a JSON object takes each key in its place, so keys in the
    // hash's order would move the object's entries on every insertion.
    QJsonObject ignored;
    for (const QString &href : sortedKeys(ignoredEtags))
        ignored.insert(href, ignoredEtags.value(href));
    QJsonObject written;
    for (const QString &uid : sortedKeys(events)) {
        const EventRecord &record = events.constFind(uid).value();
        written.insert(uid, QJsonObject{{QStringLiteral("href"), record.href}, {QStringLiteral("etag"), record.etag},
                                        {QStringLiteral("fingerprint"), QString::fromLatin1(record.fingerprint)}});
    }
    const auto sorted = [](const QSet<QString> &hrefs) {
        QStringList list(hrefs.cbegin(), hrefs.cend());
        list.sort();
        return QJsonArray::fromStringList(list);
    };
    const QJsonObject root{{QStringLiteral("tasks"), tasksUrl}, {QStringLiteral("token"), syncToken},
                           {QStringLiteral("written-since"), writtenSinceToken}, {QStringLiteral("written-hrefs"), sorted(writtenHrefs)},
                           {QStringLiteral("todos"), todoArray}, {QStringLiteral("ignored"), ignored},
                           {QStringLiteral("unread"), sorted(unreadable)}, {QStringLiteral("events"), eventsUrl},
                           {QStringLiteral("written"), written}, {QStringLiteral("last"), lastSync.toString(Qt::ISODate)},
                           {QStringLiteral("skipped"), skipped}};
    AtomicFile::write(path(), QJsonDocument(root).toJson(QJsonDocument::Compact));
}
