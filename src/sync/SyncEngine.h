// One synchronisation: the homework both ways with the task list, the dates one way to the calendar.
#pragma once

#include "CalDavClient.h"
#include "HomeworkSource.h"
#include "SyncSettings.h"
#include "SyncState.h"

#include <functional>

class SyncEngine final
{
public:
    struct Report
    {
        int taken = 0;   // changes made in the planner
        int written = 0; // objects written or deleted on the server
        int skipped = 0; // todos left on the server: no due date, or due today or earlier
    };

    /// What is being written to the server: the todos, then the calendar's events.
    enum class Phase { Todos, Events };
    /// Told after each write to the server: `done` of `total` in this phase.
    using Progress = std::function<void(Phase phase, int done, int total)>;

    SyncEngine(CalDavClient &client, HomeworkSource &homework);
    /// Follows the writes (called in the engine's thread).
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    /// Synchronises what `options` names. The kept state is written after the
    /// planner's side is changed and again as the server's side is, so that a
    /// sync cut off at any point neither loses nor doubles homework the next
    /// time. Throws CalDavError (or KalmoraError for the data files); what
    /// was done before stays done and is known to the next sync.
    Report run(const SyncSettings::Options &options);

    /// The uid of a todo the planner makes for `item`: the same for the same
    /// subject and date, so a todo written by a sync that was cut off is
    /// found again; `taken` uids get a running number.
    static QString newUid(const HomeworkItem &item, const QSet<QString> &taken);

private:
    struct Pulled;
    Pulled pullTodos(const QUrl &collection);
    void applyLocally(const QList<SyncMerge::Outcome> &outcomes);
    void pushTodos(const QUrl &collection, QList<SyncMerge::Outcome> &outcomes, Pulled &pulled);
    void settleRefused(const QUrl &collection, SyncMerge::Outcome &o, Pulled &pulled, const QDateTime &stamp);
    /// Keeps the title and note the server holds now, against which the next sync tells what the phone changed.
    void rememberTexts(const QString &href, const QByteArray &data);
    void progress(Phase phase, int done, int total) const;
    void syncTodos(const QUrl &collection);
    void syncEvents(const QUrl &collection);
    void recordTodos(const QList<SyncMerge::Outcome> &outcomes);

    CalDavClient &m_client;
    HomeworkSource &m_homework;
    SyncState m_state;
    Report m_report;
    Progress m_progress;
};
