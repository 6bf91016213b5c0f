// Reading the class list into the planner and writing the pupil's shared homework to it.
#include "ClassListSync.h"

#include "platform/Clock.h"
#include "sync/SyncMerge.h"
#include "sync/TodoMapping.h"

#include <QCryptographicHash>

using Entry = ClassListState::Entry;
using Kind = ClassListState::Kind;

namespace {

QByteArray hashHex(QDate due, const QString &subject)
{
    return QCryptographicHash::hash(homeworkKey(due, subject).toUtf8(), QCryptographicHash::Sha1).toHex();
}

// Told once, when the list is first found read-only.
CalDavError readOnlyError(const QString &detail)
{
    QString message = QStringLiteral("Die Aufgabenliste der Klasse ist für Sie nur lesbar: Sie erhalten die Hausaufgaben der Klasse, "
                                     "Ihre eigenen werden dort nicht eingetragen und bleiben in Ihrem Planer.");
    if (!detail.isEmpty())
        message += QStringLiteral(" (%1)").arg(detail);
    return CalDavError(message);
}

std::optional<HomeworkItem> localHomework(const HomeworkSource &homework, QDate due, const QString &subject)
{
    const QString key = homeworkKey(due, subject);
    for (const HomeworkItem &item : homework.all()) {
        if (homeworkKey(item) == key)
            return item;
    }
    return std::nullopt;
}

}

ClassListSync::ClassListSync(CalDavClient &client, HomeworkSource &homework)
    : m_client(client), m_homework(homework)
{
}

QString ClassListSync::uidFor(QDate due, const QString &subject)
{
    return QStringLiteral("kalmora-klasse-") + QString::fromLatin1(hashHex(due, subject).left(20)) + QStringLiteral("@kalmora");
}

QString ClassListSync::nameFor(QDate due, const QString &subject)
{
    return QStringLiteral("klasse-") + QString::fromLatin1(hashHex(due, subject).left(24)) + QStringLiteral(".ics");
}

ClassListSync::Report ClassListSync::run(const ClassListSettings::Options &options)
{
    m_report = Report();
    if (!options.inUse())
        return m_report;
    const QUrl collection(options.tasks);
    m_state = ClassListState::load();
    const bool fresh = m_state.tasksUrl != options.tasks;
    if (fresh) {
        // Another class list: only the shares still to be written carry over.
        QList<Entry> pending;
        for (const Entry &e : std::as_const(m_state.entries)) {
            if (e.kind == Kind::Shared && e.etag.isEmpty())
                pending.append({{}, {}, e.due, e.subject, {}, Kind::Shared});
        }
        m_state = ClassListState();
        m_state.tasksUrl = options.tasks;
        m_state.entries = pending;
    }
    m_state.takeRequests();
    for (Entry &e : m_state.entries) {
        if (e.kind == Kind::Shared && e.href.isEmpty())
            e.href = CalDavClient::hrefFor(collection, nameFor(e.due, e.subject));
    }
    bool refused = false;
    if (fresh || m_state.readOnlyByRights) {
        // A list shared read-only is known before anything is written to it;
        // its rights are asked again until they allow writing.
        if (const std::optional<bool> may = m_client.mayWrite(collection)) {
            refused = !*may && !m_state.readOnly;
            m_state.readOnly = m_state.readOnlyByRights = !*may;
        }
    }
    m_subjects = m_homework.subjects();
    m_state.entries = ClassListMerge::take(m_state.entries, pull(collection), m_homework, Clock::today());
    m_state.save();
    ClassListState::finishRequests();
    if (refused)
        throw readOnlyError(QString());
    if (!m_state.readOnly)
        push(collection);
    return m_report;
}

QList<ClassListMerge::ClassTodo> ClassListSync::pull(const QUrl &collection)
{
    // The whole listing every time: a class list is small, and a removal is then never missed.
    const QHash<QString, QString> etags = m_client.listEtags(collection);
    QHash<QString, Entry> known;
    for (const Entry &e : std::as_const(m_state.entries)) {
        if (!e.etag.isEmpty())
            known.insert(e.href, e);
    }
    QList<ClassListMerge::ClassTodo> todos;
    QStringList toFetch;
    for (auto it = etags.cbegin(); it != etags.cend(); ++it) {
        const Entry e = known.value(it.key());
        if (!it.value().isEmpty() && e.etag == it.value())
            todos.append({e.href, e.etag, {e.due, e.subject, e.text, false}});
        else if (it.value().isEmpty() || m_state.ignoredEtags.value(it.key()) != it.value())
            toFetch.append(it.key());
    }
    QHash<QString, QString> ignored;
    for (auto it = m_state.ignoredEtags.cbegin(); it != m_state.ignoredEtags.cend(); ++it) {
        if (etags.value(it.key()) == it.value())
            ignored.insert(it.key(), it.value());
    }
    const QDate today = Clock::today();
    for (const CalDavClient::Object &object : m_client.fetch(collection, toFetch)) {
        const std::optional<TodoMapping::Todo> todo = TodoMapping::parse(object.data);
        std::optional<HomeworkItem> item = todo ? TodoMapping::toHomework(*todo, m_subjects) : std::nullopt;
        if (!item || item->due <= today) {
            ignored.insert(object.href, object.etag);
            continue;
        }
        item->done = false;
        todos.append({object.href, object.etag, *item});
        ++m_report.taken;
    }
    m_state.ignoredEtags = ignored;
    return todos;
}

void ClassListSync::push(const QUrl &collection)
{
    for (Entry &entry : m_state.entries) {
        if (entry.kind != Kind::Shared || !pushOne(collection, entry))
            continue;
        ++m_report.written;
        m_state.save();
    }
    m_state.save();
}

bool ClassListSync::pushOne(const QUrl &collection, Entry &entry)
{
    const std::optional<HomeworkItem> local = localHomework(m_homework, entry.due, entry.subject);
    const QString own = local ? ClassListMerge::ownText(local->text) : QString();
    if (own.isEmpty()) {
        // Removed in the planner: the class keeps its todo, the pupil's removal
        // stays private; a share not yet written is forgotten at the next sync.
        entry.kind = Kind::Dropped;
        return false;
    }
    if (!entry.etag.isEmpty() && own == entry.text)
        return false;
    const QDateTime stamp = Clock::now();
    const QString uid = uidFor(entry.due, entry.subject);
    const HomeworkItem item{entry.due, local->subject, own, false};
    try {
        std::optional<QString> etag;
        if (entry.etag.isEmpty()) {
            etag = m_client.put(collection, entry.href, TodoMapping::create(uid, item, stamp), QString());
        } else {
            const QList<CalDavClient::Object> now = m_client.fetch(collection, {entry.href});
            if (!now.isEmpty() && now.first().etag == entry.etag)
                etag = m_client.put(collection, entry.href, TodoMapping::update(now.first().data, uid, item, stamp), entry.etag);
        }
        if (!etag) {
            // Written or changed meanwhile by another planner: read it and keep both texts.
            const QList<CalDavClient::Object> now = m_client.fetch(collection, {entry.href});
            const std::optional<TodoMapping::Todo> todo = now.isEmpty() ? std::nullopt : TodoMapping::parse(now.first().data);
            if (!todo)
                return false; // the next sync sees it
            const std::optional<HomeworkItem> base =
                entry.etag.isEmpty() ? std::nullopt : std::optional(HomeworkItem{entry.due, entry.subject, entry.text, false});
            const std::optional<HomeworkItem> there = TodoMapping::toHomework(*todo, m_subjects);
            HomeworkItem merged = SyncMerge::mergeItems(base, item, there ? HomeworkItem{item.due, item.subject, there->text, false} : item);
            merged.done = false;
            etag = m_client.put(collection, entry.href, TodoMapping::update(now.first().data, uid, merged, stamp), now.first().etag);
            if (!etag)
                return false;
            if (merged.text != own)
                m_homework.setText(entry.due, local->subject, merged.text + local->text.mid(own.size()));
            entry.text = merged.text;
        } else {
            entry.text = own;
        }
        entry.etag = *etag;
        return true;
    } catch (const CalDavError &error) {
        if (error.offline())
            throw;
        // Refused (a list shared read-only): kept quiet from now on, the homework stays in the planner.
        m_state.readOnly = true;
        m_state.save();
        throw readOnlyError(error.message());
    }
}
