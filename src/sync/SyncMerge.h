// The three-way merge of the planner's homework with the todos of the server: pure functions.
#pragma once

#include "HomeworkSource.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace SyncMerge {

/// A homework as it stands on one side, or stood after the last sync (the base).
struct Record
{
    QString uid;
    QString href;
    QString etag;
    HomeworkItem item;
};

/// What a pair of homework and todo becomes. `local` and `remote` are how
/// they stand now, `merged` how both sides shall stand (none: removed on both).
struct Outcome
{
    QString uid;
    QString href; // empty for a todo still to be created
    QString etag;
    std::optional<HomeworkItem> base;
    std::optional<HomeworkItem> local;
    std::optional<HomeworkItem> remote;
    std::optional<HomeworkItem> merged;
};

/// Both texts kept in one: the same text once; a text that holds the other
/// whole stands for both; otherwise "local | remote".
QString combineTexts(const QString &local, const QString &remote);

/// One field-wise three-way merge of a homework both sides still hold.
/// A field changed on one side only takes that change; texts changed on both
/// are combined; other fields changed on both keep the planner's value; a
/// done mark set on either side stays set when both changed it.
HomeworkItem mergeItems(const std::optional<HomeworkItem> &base, const HomeworkItem &local, const HomeworkItem &remote);

/// Pairs and merges. `base` is the state of the last sync, `local` the
/// planner's homework due after `today`, `remote` the server's todos due after
/// today (the uid and href of each; the href of a base record is its todo's).
/// Pairs go by uid, then a homework that moved (same subject and text, base
/// gone from its date), then uid of a new todo, then due date and subject, so
/// a first sync with data on both sides doubles nothing. An edit beats a
/// delete on the other side. Base records due today or earlier are dropped
/// without touching either side: the planner prunes past homework, and that
/// never reaches the server. Two outcomes that would meet on one subject and
/// due date are made one: the texts are combined into the first, the other
/// is removed on both sides. `newUid` names a todo the planner creates.
QList<Outcome> merge(const QList<Record> &base, const QList<HomeworkItem> &local, const QList<Record> &remote, QDate today,
                     const std::function<QString(const HomeworkItem &)> &newUid);

}
