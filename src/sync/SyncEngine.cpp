// One synchronisation run: pull the server's changes, merge, change the planner, then write the server.
#include "SyncEngine.h"

#include "TodoMapping.h"
#include "platform/Clock.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QSet>

using SyncMerge::Outcome;
using SyncMerge::Record;

struct SyncEngine::Pulled
{
    QList<Record> remote;
    QHash<QString, QByteArray> objects; // href -> the object as read, for writing it back
    QString token;
    QStringList subjects;
};

namespace {

// While writing, the state is kept at most this often: a long first sync does
// not write and flush the whole state file after every few requests, and a kill
// costs at most these seconds of writes, which the next sync recognises.
constexpr qint64 SaveEveryMs = 3000;

QByteArray hashHex(const QString &text)
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex();
}

QString objectName(const QString &uid)
{
    return QString::fromLatin1(hashHex(uid).left(24)) + QStringLiteral(".ics");
}

// Whether a change list names every todo the planner wrote after its token.
// One made there and deleted since is left out (RFC 6578, as Xandikos does),
// and only the comparison of the etags finds that it is gone.
bool accountsFor(const CalDavClient::Changes &changes, const QSet<QString> &written)
{
    return !written.isEmpty() && std::all_of(written.cbegin(), written.cend(), [&](const QString &href) {
        return changes.changed.contains(href) || changes.removed.contains(href);
    });
}

// The text of a todo read again. The title gives it, unless the title is as
// the sync last read it: then a changed note is the pupil's new text, and
// with neither changed the text stays what the sync took before, which may
// have come from the note.
void takeText(HomeworkItem &item, const TodoMapping::Todo &todo, const Record *base, const SyncState::TodoText *last)
{
    if (!base || !last || todo.summary != last->summary || item.subject != base->item.subject)
        return;
    if (todo.description != last->note && !todo.description.isEmpty())
        item.text = todo.description;
    else
        item.text = base->item.text;
}

// What changed on the server since the last sync, with the removals of the
// todos the planner knows (`known`: href -> etag as last seen).
CalDavClient::Changes listChanges(CalDavClient &client, const QUrl &collection, const SyncState &state,
                                  const QHash<QString, QString> &known)
{
    CalDavClient::Changes changes;
    bool complete = state.syncToken.isEmpty();
    try {
        changes = client.syncCollection(collection, state.syncToken);
    } catch (const InvalidSyncToken &) {
        complete = true;
    } catch (const CalDavError &error) {
        if (error.offline() || !state.syncToken.isEmpty())
            throw;
        complete = true; // a server without sync-collection: compare the etags every time
    }
    // A token that moved without a change listed: some servers leave removals
    // out of the listing, so everything is compared. After the planner's own
    // writes the listing must account for each of them (a token that names
    // the collection's content is even the same again when the phone undid them).
    const bool silentMove = changes.token != state.syncToken && changes.changed.isEmpty() && changes.removed.isEmpty();
    if (!complete && (silentMove || (state.writtenSinceToken && !accountsFor(changes, state.writtenHrefs))))
        complete = true;
    if (complete && (changes.token.isEmpty() || changes.changed.isEmpty()))
        changes.changed = client.listEtags(collection);
    if (complete) {
        for (auto it = known.cbegin(); it != known.cend(); ++it) {
            if (!changes.changed.contains(it.key()))
                changes.removed.append(it.key());
        }
    }
    return changes;
}

}

SyncEngine::SyncEngine(CalDavClient &client, HomeworkSource &homework)
    : m_client(client), m_homework(homework)
{
}

QString SyncEngine::newUid(const HomeworkItem &item, const QSet<QString> &taken)
{
    const QString stem = QStringLiteral("kalmora-todo-") + QString::fromLatin1(hashHex(homeworkKey(item)).left(20));
    QString uid = stem + QStringLiteral("@kalmora");
    for (int n = 2; taken.contains(uid); ++n)
        uid = stem + u'-' + QString::number(n) + QStringLiteral("@kalmora");
    return uid;
}

SyncEngine::Report SyncEngine::run(const SyncSettings::Options &options)
{
    m_report = Report();
    m_state = SyncState::load();
    if (m_state.tasksUrl != options.tasks) {
        // Another task list: nothing of the old one's state applies.
        m_state.tasksUrl = options.tasks;
        m_state.syncToken.clear();
        m_state.todos.clear();
        m_state.texts.clear();
        m_state.ignoredEtags.clear();
        m_state.unreadable.clear();
        m_state.writtenHrefs.clear();
        m_state.writtenSinceToken = false;
    }
    if (m_state.eventsUrl != options.events) {
        m_state.eventsUrl = options.events;
        m_state.events.clear();
    }
    if (!options.tasks.isEmpty())
        syncTodos(QUrl(options.tasks));
    if (!options.events.isEmpty())
        syncEvents(QUrl(options.events));
    m_state.lastSync = Clock::now();
    m_state.skipped = m_report.skipped;
    m_state.save();
    return m_report;
}

SyncEngine::Pulled SyncEngine::pullTodos(const QUrl &collection)
{
    Pulled pulled;
    pulled.subjects = m_homework.subjects();
    QHash<QString, QString> known; // href -> etag as last seen
    QHash<QString, const Record *> base;
    for (const Record &r : std::as_const(m_state.todos)) {
        known.insert(r.href, r.etag);
        base.insert(r.href, &r);
    }
    for (auto it = m_state.ignoredEtags.cbegin(); it != m_state.ignoredEtags.cend(); ++it)
        known.insert(it.key(), it.value());
    for (const QString &href : std::as_const(m_state.unreadable))
        known.insert(href, QString());

    CalDavClient::Changes changes = listChanges(m_client, collection, m_state, known);
    pulled.token = changes.token;
    QStringList toFetch;
    for (auto it = changes.changed.cbegin(); it != changes.changed.cend(); ++it) {
        if (!known.contains(it.key()) || known.value(it.key()) != it.value() || it.value().isEmpty())
            toFetch.append(it.key());
    }
    // What could not be read before is read again, changed or not.
    for (const QString &href : std::as_const(m_state.unreadable)) {
        if (!toFetch.contains(href) && !changes.removed.contains(href))
            toFetch.append(href);
    }
    const QSet<QString> gone(changes.removed.cbegin(), changes.removed.cend());
    QSet<QString> unanswered(toFetch.cbegin(), toFetch.cend());
    QHash<QString, Record> fresh;
    const QDate today = Clock::today();
    for (const CalDavClient::Object &object : m_client.fetch(collection, toFetch)) {
        unanswered.remove(object.href);
        const std::optional<TodoMapping::Todo> todo = TodoMapping::parse(object.data);
        if (!todo) {
            // Not taken as handled: a server that sent it broken may send it whole next time.
            m_state.ignoredEtags.remove(object.href);
            m_state.unreadable.insert(object.href);
            continue;
        }
        m_state.unreadable.remove(object.href);
        std::optional<HomeworkItem> item = TodoMapping::toHomework(*todo, pulled.subjects);
        if (!item || item->due <= today) {
            m_state.ignoredEtags.insert(object.href, object.etag);
            continue;
        }
        m_state.ignoredEtags.remove(object.href);
        const auto last = m_state.texts.constFind(object.href);
        takeText(*item, *todo, base.value(object.href), last != m_state.texts.cend() ? &*last : nullptr);
        m_state.texts.insert(object.href, {todo->summary, todo->description});
        fresh.insert(object.href, {todo->uid, object.href, object.etag, *item});
        pulled.objects.insert(object.href, object.data);
    }
    // Asked for and not sent: gone only where the listing says so (the next
    // one will), else read again next time; meanwhile the base stands.
    for (const QString &href : std::as_const(unanswered))
        m_state.unreadable.insert(href);
    for (const Record &r : std::as_const(m_state.todos)) {
        // Unchanged, or changed into something the planner does not take: as the base.
        if (!gone.contains(r.href) && !fresh.contains(r.href))
            pulled.remote.append(r);
    }
    for (const Record &r : std::as_const(fresh))
        pulled.remote.append(r);
    // A fixed order, so that of two todos meeting on one date the one with the smaller uid is the first.
    std::sort(pulled.remote.begin(), pulled.remote.end(), [](const Record &a, const Record &b) { return a.uid < b.uid; });
    for (const QString &href : std::as_const(gone)) {
        m_state.ignoredEtags.remove(href);
        m_state.unreadable.remove(href);
    }
    return pulled;
}

namespace {

void applyChange(HomeworkSource &homework, const std::optional<HomeworkItem> &from, const std::optional<HomeworkItem> &to)
{
    if (from && !to) {
        homework.remove(from->due, from->subject);
    } else if (!from && to) {
        homework.add(*to);
    } else if (from && to && *from != *to) {
        if (from->subject.compare(to->subject, Qt::CaseInsensitive) != 0) {
            homework.remove(from->due, from->subject);
            homework.add(*to);
            return;
        }
        if (from->due != to->due)
            homework.move(from->due, from->subject, to->due);
        if (from->text != to->text)
            homework.setText(to->due, from->subject, to->text);
        if (from->done != to->done)
            homework.setDone(to->due, from->subject, to->done);
    }
}

}

void SyncEngine::applyLocally(const QList<Outcome> &outcomes)
{
    // Removals first, then changes in place, then moves and additions, so
    // that a homework moving onto a date finds its place free.
    const auto isRemoval = [](const Outcome &o) { return o.local && !o.merged; };
    const auto inPlace = [](const Outcome &o) { return o.local && o.merged && homeworkKey(*o.local) == homeworkKey(*o.merged); };
    for (int pass = 0; pass < 3; ++pass) {
        for (const Outcome &o : outcomes) {
            if (o.local == o.merged)
                continue;
            const int kind = isRemoval(o) ? 0 : inPlace(o) ? 1 : 2;
            if (kind != pass)
                continue;
            applyChange(m_homework, o.local, o.merged);
            ++m_report.taken;
        }
    }
}

void SyncEngine::recordTodos(const QList<Outcome> &outcomes)
{
    // The state is what the server holds as far as this sync knows: a write
    // still to come is found again as a change in the planner.
    m_state.todos.clear();
    QSet<QString> hrefs;
    for (const Outcome &o : outcomes) {
        if (o.remote) {
            m_state.todos.append({o.uid, o.href, o.etag, *o.remote});
            hrefs.insert(o.href);
        }
    }
    m_state.texts.removeIf([&](const auto &text) { return !hrefs.contains(text.key()); });
}

void SyncEngine::syncTodos(const QUrl &collection)
{
    Pulled pulled = pullTodos(collection);
    QSet<QString> taken;
    QHash<QString, const Record *> baseByKey;
    for (const Record &r : std::as_const(m_state.todos)) {
        taken.insert(r.uid);
        baseByKey.insert(homeworkKey(r.item), &r);
    }
    // A text the planner's file could not hold in full (an emoji) is the
    // server's text still, unless the pupil changed it in the planner.
    QList<HomeworkItem> local = m_homework.all();
    for (HomeworkItem &item : local) {
        const Record *b = baseByKey.value(homeworkKey(item));
        if (b && item.text != b->item.text && item.text == m_homework.keptText(b->item.text))
            item.text = b->item.text;
    }
    QList<Outcome> outcomes = SyncMerge::merge(m_state.todos, local, pulled.remote, Clock::today(),
                                               [&taken](const HomeworkItem &item) { return newUid(item, taken); });
    applyLocally(outcomes);
    recordTodos(outcomes);
    m_state.syncToken = pulled.token;
    m_state.writtenHrefs.clear();
    for (const Outcome &o : std::as_const(outcomes)) {
        if (o.merged != o.remote)
            m_state.writtenHrefs.insert(o.href.isEmpty() ? CalDavClient::hrefFor(collection, objectName(o.uid)) : o.href);
    }
    m_state.writtenSinceToken = !m_state.writtenHrefs.isEmpty();
    m_state.save();
    pushTodos(collection, outcomes, pulled);
    m_report.skipped = int(m_state.ignoredEtags.size() + m_state.unreadable.size());
}

void SyncEngine::pushTodos(const QUrl &collection, QList<Outcome> &outcomes, Pulled &pulled)
{
    // Todos to be changed that were not read in this sync are read first, so
    // that what other programs keep in them stays.
    QStringList unread;
    for (const Outcome &o : std::as_const(outcomes)) {
        if (o.merged && o.remote && *o.merged != *o.remote && !pulled.objects.contains(o.href))
            unread.append(o.href);
    }
    for (const CalDavClient::Object &object : m_client.fetch(collection, unread))
        pulled.objects.insert(object.href, object.data);

    // Every write is tried at once, several under way together; one that
    // meets a change on the server (412) is settled afterwards, one by one.
    const QDateTime stamp = Clock::now();
    QList<qsizetype> toWrite;
    QList<CalDavClient::Write> writes;
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        Outcome &o = outcomes[i];
        if (o.merged == o.remote)
            continue;
        toWrite.append(i);
        if (!o.merged) {
            writes.append({o.href, {}, o.etag, true});
            continue;
        }
        if (o.href.isEmpty())
            o.href = CalDavClient::hrefFor(collection, objectName(o.uid));
        const QByteArray kept = pulled.objects.value(o.href);
        // Met before: the title and note stay as the server has them where the text is the same.
        // At a first meeting the planner writes its own form.
        writes.append({o.href,
                       kept.isEmpty() ? TodoMapping::create(o.uid, *o.merged, stamp)
                                      : TodoMapping::update(kept, o.uid, *o.merged, stamp, o.base ? o.remote : std::nullopt),
                       o.remote ? o.etag : QString(), false});
    }
    QList<qsizetype> refused;
    QElapsedTimer sinceSave;
    sinceSave.start();
    m_client.writeAll(collection, writes, [&](qsizetype k, const CalDavClient::Written &result) {
        Outcome &o = outcomes[toWrite.at(k)];
        if (!result) {
            refused.append(toWrite.at(k));
        } else if (!o.merged) {
            o.remote.reset();
        } else {
            o.etag = *result;
            o.remote = o.merged;
            rememberTexts(o.href, writes.at(k).data);
        }
        ++m_report.written;
        progress(Phase::Todos, m_report.written, int(writes.size()));
        if (sinceSave.hasExpired(SaveEveryMs)) {
            recordTodos(outcomes);
            m_state.save();
            sinceSave.restart();
        }
    });
    for (qsizetype i : std::as_const(refused))
        settleRefused(collection, outcomes[i], pulled, stamp);
    recordTodos(outcomes);
}

void SyncEngine::settleRefused(const QUrl &collection, Outcome &o, Pulled &pulled, const QDateTime &stamp)
{
    const auto reread = [&](const QString &href) -> std::optional<std::pair<CalDavClient::Object, std::optional<HomeworkItem>>> {
        const QList<CalDavClient::Object> objects = m_client.fetch(collection, {href});
        if (objects.isEmpty())
            return std::nullopt;
        const std::optional<TodoMapping::Todo> todo = TodoMapping::parse(objects.first().data);
        return std::pair{objects.first(), todo ? TodoMapping::toHomework(*todo, pulled.subjects) : std::nullopt};
    };
    if (!o.merged) {
        // Changed meanwhile. An edit beats the removal; else remove what is there now.
        const auto now = reread(o.href);
        if (!now) {
            o.remote.reset();
        } else if (now->second && now->second != o.remote && now->second->due > Clock::today()) {
            applyChange(m_homework, std::nullopt, now->second);
            o.merged = o.remote = now->second;
            o.etag = now->first.etag;
            rememberTexts(o.href, now->first.data);
        } else if (m_client.remove(collection, o.href, now->first.etag)) {
            o.remote.reset();
        }
        return;
    }
    // The todo was changed (or made) meanwhile: read it again and merge.
    const QString href = o.href;
    const auto now = reread(href);
    if (!now || !now->second)
        return; // the next sync sees it
    const HomeworkItem merged = SyncMerge::mergeItems(o.remote, *o.merged, *now->second);
    applyChange(m_homework, o.merged, merged);
    const QByteArray written = TodoMapping::update(now->first.data, o.uid, merged, stamp, now->second);
    const std::optional<QString> etag = m_client.put(collection, href, written, now->first.etag);
    if (!etag) {
        o.remote = now->second;
        o.etag = now->first.etag;
        rememberTexts(href, now->first.data);
        return;
    }
    o.merged = merged;
    o.etag = *etag;
    o.remote = o.merged;
    rememberTexts(href, written);
}

void SyncEngine::rememberTexts(const QString &href, const QByteArray &data)
{
    if (const std::optional<TodoMapping::Todo> todo = TodoMapping::parse(data))
        m_state.texts.insert(href, {todo->summary, todo->description});
}

void SyncEngine::syncEvents(const QUrl &collection)
{
    const QList<TodoMapping::Event> events = TodoMapping::splitEvents(m_homework.calendarExport(Clock::now()), {QStringLiteral("hausaufgabe-")});
    QSet<QString> current;
    // What changed is written and what the planner removed is deleted, several
    // under way together; one that meets a change on the server (412) is
    // settled afterwards: the planner's entry is the one that counts.
    QList<CalDavClient::Write> writes;
    QStringList uids;
    QList<QByteArray> fingerprints;
    for (const TodoMapping::Event &event : events) {
        current.insert(event.uid);
        SyncState::EventRecord record = m_state.events.value(event.uid);
        if (!record.href.isEmpty() && record.fingerprint == event.fingerprint)
            continue;
        if (record.href.isEmpty())
            record.href = CalDavClient::hrefFor(collection, objectName(event.uid));
        writes.append({record.href, event.object, record.etag, false});
        uids.append(event.uid);
        fingerprints.append(event.fingerprint);
    }
    for (auto it = m_state.events.cbegin(); it != m_state.events.cend(); ++it) {
        if (current.contains(it.key()))
            continue;
        writes.append({it->href, {}, it->etag, true});
        uids.append(it.key());
        fingerprints.append(QByteArray());
    }
    QElapsedTimer sinceSave;
    sinceSave.start();
    int done = 0;
    const auto settled = [&](qsizetype k, const QString &etag) {
        if (writes.at(k).remove)
            m_state.events.remove(uids.at(k));
        else
            m_state.events.insert(uids.at(k), {writes.at(k).href, etag, fingerprints.at(k)});
        ++m_report.written;
        if (sinceSave.hasExpired(SaveEveryMs)) {
            m_state.save();
            sinceSave.restart();
        }
    };
    QList<qsizetype> refused;
    m_client.writeAll(collection, writes, [&](qsizetype k, const CalDavClient::Written &result) {
        if (result)
            settled(k, *result);
        else
            refused.append(k);
        progress(Phase::Events, ++done, int(writes.size()));
    });
    for (qsizetype k : std::as_const(refused)) {
        const CalDavClient::Write &write = writes.at(k);
        const std::optional<QString> there = m_client.etagOf(collection, write.href);
        if (write.remove) {
            if (!there || m_client.remove(collection, write.href, *there))
                settled(k, QString());
        } else if (const std::optional<QString> etag = m_client.put(collection, write.href, write.data, there.value_or(QString()))) {
            settled(k, *etag);
        } // else the next sync tries again
    }
}

void SyncEngine::progress(Phase phase, int done, int total) const
{
    if (m_progress)
        m_progress(phase, done, total);
}
