// Pairing the planner's homework with the server's todos and merging each pair field by field.
#include "SyncMerge.h"

#include <QHash>
#include <QSet>

namespace SyncMerge {

QString combineTexts(const QString &local, const QString &remote)
{
    if (local == remote || remote.isEmpty() || local.contains(remote))
        return local;
    if (local.isEmpty() || remote.contains(local))
        return remote;
    return local + QStringLiteral(" | ") + remote;
}

HomeworkItem mergeItems(const std::optional<HomeworkItem> &base, const HomeworkItem &local, const HomeworkItem &remote)
{
    if (!base) {
        // Met for the first time: nothing to tell which side changed.
        return {local.due, local.subject, combineTexts(local.text, remote.text), local.done || remote.done};
    }
    HomeworkItem merged = local;
    if (local.due == base->due)
        merged.due = remote.due;
    if (local.subject == base->subject)
        merged.subject = remote.subject;
    if (local.done == base->done)
        merged.done = remote.done;
    if (local.text == base->text)
        merged.text = remote.text;
    else if (remote.text != base->text)
        merged.text = combineTexts(local.text, remote.text);
    return merged;
}

namespace {

struct Pairing
{
    QList<Outcome> outcomes;
    QHash<QString, qsizetype> localByKey; // key -> index into `local`
    QSet<qsizetype> localTaken;
    QHash<QString, qsizetype> remoteByUid;
    QSet<qsizetype> remoteTaken;
};

std::optional<qsizetype> takeLocal(Pairing &p, const QString &key)
{
    const auto it = p.localByKey.constFind(key);
    if (it == p.localByKey.cend() || p.localTaken.contains(*it))
        return std::nullopt;
    p.localTaken.insert(*it);
    return *it;
}

std::optional<HomeworkItem> decide(const Outcome &o)
{
    if (o.local && o.remote)
        return mergeItems(o.base, *o.local, *o.remote);
    if (!o.base)
        return o.local ? o.local : o.remote;
    // One side removed it: an edit on the other side beats the removal.
    if (o.local)
        return *o.local == *o.base ? std::nullopt : o.local;
    if (o.remote)
        return *o.remote == *o.base ? std::nullopt : o.remote;
    return std::nullopt;
}

// Two outcomes on one subject and due date become one: the texts go into
// the first, which the planner already holds there when one does.
void joinCollisions(QList<Outcome> &outcomes)
{
    QHash<QString, qsizetype> owner;
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].merged && outcomes[i].local && homeworkKey(*outcomes[i].local) == homeworkKey(*outcomes[i].merged))
            owner.insert(homeworkKey(*outcomes[i].merged), i);
    }
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        if (!outcomes[i].merged)
            continue;
        const QString key = homeworkKey(*outcomes[i].merged);
        const qsizetype first = owner.value(key, i);
        owner.insert(key, first);
        if (first == i)
            continue;
        HomeworkItem &kept = *outcomes[first].merged;
        const HomeworkItem &joined = *outcomes[i].merged;
        kept.text = combineTexts(kept.text, joined.text);
        kept.done = kept.done && joined.done;
        outcomes[i].merged.reset();
    }
}

}

QList<Outcome> merge(const QList<Record> &base, const QList<HomeworkItem> &local, const QList<Record> &remote, QDate today,
                     const std::function<QString(const HomeworkItem &)> &newUid)
{
    Pairing p;
    for (qsizetype i = 0; i < local.size(); ++i) {
        if (local[i].due > today)
            p.localByKey.insert(homeworkKey(local[i]), i);
    }
    for (qsizetype i = 0; i < remote.size(); ++i)
        p.remoteByUid.insert(remote[i].uid, i);

    // 1. The pairs of the last sync, by uid on the server and by key in the planner.
    QList<qsizetype> lostLocal; // outcomes whose homework is no longer at its key
    for (const Record &b : base) {
        if (b.item.due <= today) {
            // Pruned or about to be: the server keeps its todo.
            if (const auto r = p.remoteByUid.constFind(b.uid); r != p.remoteByUid.cend())
                p.remoteTaken.insert(*r);
            takeLocal(p, homeworkKey(b.item));
            continue;
        }
        Outcome o{b.uid, b.href, b.etag, b.item, std::nullopt, std::nullopt, std::nullopt};
        if (const auto r = p.remoteByUid.constFind(b.uid); r != p.remoteByUid.cend() && !p.remoteTaken.contains(*r)) {
            p.remoteTaken.insert(*r);
            o.remote = remote[*r].item;
            o.href = remote[*r].href;
            o.etag = remote[*r].etag;
        }
        if (const auto l = takeLocal(p, homeworkKey(b.item)))
            o.local = local[*l];
        else
            lostLocal.append(p.outcomes.size());
        p.outcomes.append(o);
    }
    // 2. A homework moved in the planner: same subject and text on another date.
    for (const qsizetype index : lostLocal) {
        Outcome &o = p.outcomes[index];
        for (qsizetype i = 0; i < local.size(); ++i) {
            const HomeworkItem &candidate = local[i];
            if (p.localTaken.contains(i) || candidate.due <= today || candidate.text != o.base->text
                || candidate.subject.compare(o.base->subject, Qt::CaseInsensitive) != 0)
                continue;
            p.localTaken.insert(i);
            o.local = candidate;
            break;
        }
    }
    // 3. Todos new to the planner: by the uid it gives new homework, then by key.
    QHash<QString, qsizetype> freeLocalByUid;
    for (qsizetype i = 0; i < local.size(); ++i) {
        if (!p.localTaken.contains(i) && local[i].due > today)
            freeLocalByUid.insert(newUid(local[i]), i);
    }
    for (qsizetype i = 0; i < remote.size(); ++i) {
        if (p.remoteTaken.contains(i))
            continue;
        const Record &r = remote[i];
        Outcome o{r.uid, r.href, r.etag, std::nullopt, std::nullopt, r.item, std::nullopt};
        std::optional<qsizetype> l;
        if (const auto byUid = freeLocalByUid.constFind(r.uid); byUid != freeLocalByUid.cend() && !p.localTaken.contains(*byUid)) {
            p.localTaken.insert(*byUid);
            l = *byUid;
        } else {
            l = takeLocal(p, homeworkKey(r.item));
        }
        if (l)
            o.local = local[*l];
        p.outcomes.append(o);
    }
    // 4. Homework new to the server.
    for (qsizetype i = 0; i < local.size(); ++i) {
        if (p.localTaken.contains(i) || local[i].due <= today)
            continue;
        p.outcomes.append({newUid(local[i]), QString(), QString(), std::nullopt, local[i], std::nullopt, std::nullopt});
    }
    for (Outcome &o : p.outcomes)
        o.merged = decide(o);
    joinCollisions(p.outcomes);
    return p.outcomes;
}

}
