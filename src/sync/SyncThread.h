// Work that talks to the server, on a thread of its own, so that no window waits for it.
#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

/// Runs one piece of work (a sync, a look at the account) on a thread of its
/// own; the end is told in the thread that made this object. The work reaches
/// the planner's data through `runHere`, in this object's thread, so the
/// stores are only ever used there. Destroying the object stops the work at
/// its next request and waits for its end.
class SyncThread final : public QObject
{
    Q_OBJECT
public:
    using Work = std::function<void(SyncThread &thread)>;

    explicit SyncThread(QObject *parent = nullptr);
    ~SyncThread() override;

    /// Starts `work`; `finished` follows. Nothing happens while one runs.
    void start(Work work);
    bool isRunning() const { return m_thread != nullptr; }

    /// In the work: runs `call` in this object's thread and waits for it; its
    /// exception comes back here. Throws CalDavError when the work is stopped.
    void runHere(const std::function<void()> &call);
    /// In the work: set when the work is to stop (for CalDavClient::setCancel).
    const std::atomic_bool &cancelled() const { return m_cancel; }
    /// In the work: tells `progress` (queued to this object's thread).
    void tellProgress(const QString &text) { Q_EMIT progress(text); }

Q_SIGNALS:
    /// The work ended: `failure` is its German message, empty when it went through.
    void finished(const QString &failure);
    void progress(const QString &text);

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic_bool m_cancel = false;
};
