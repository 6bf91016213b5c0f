// When the synchronisation runs: after the start, after the planner's changes, every 15 minutes, on request.
#pragma once

#include "SyncSettings.h"
#include "SyncState.h"

#include <QObject>
#include <QTimer>

class SyncThread;

/// Runs one sync at a time from the event loop, never inside the operation
/// that changed the data. The sync talks to the server on a thread of its own
/// (SyncThread) and changes the homework through the stores in this thread,
/// so the windows take input all the while.
class SyncScheduler final : public QObject
{
    Q_OBJECT
public:
    static constexpr int ChangeDelay = 2000;           // ms after a change of the planner's data
    static constexpr int Period = 15 * 60 * 1000;      // ms between two syncs otherwise

    explicit SyncScheduler(QObject *parent = nullptr);
    ~SyncScheduler() override;

    /// Follows the stored settings: on, a sync is due after the change delay
    /// and then every period; off, nothing more runs.
    void apply(const SyncSettings::Options &options);
    bool isOn() const { return m_options.active; }
    /// Starts a sync now; false while one runs. `finished` tells its end.
    bool runNow();
    bool isRunning() const { return m_running; }
    /// The status line: the last sync or what went wrong, in German.
    QString status() const { return m_status; }
    /// Tests: shorter intervals.
    void setIntervals(int changeDelay, int period);

Q_SIGNALS:
    void statusChanged(const QString &status);
    /// A failure, told once until a sync goes through again or the settings change.
    void failed(const QString &message);
    /// A sync ended; `ok` when it went through.
    void finished(bool ok);

private:
    void settingsSaved(const QString &path);
    void setStatus(const QString &status);
    void startThread(const QString &password);
    void finish(const QString &failure);

    SyncSettings::Options m_options;
    QTimer m_changeTimer;
    QTimer m_periodTimer;
    SyncThread *m_thread = nullptr;
    QString m_status;
    QString m_reported; // the failure told already
    int m_observer = 0;
    bool m_running = false;
    bool m_changedWhileRunning = false;
};
