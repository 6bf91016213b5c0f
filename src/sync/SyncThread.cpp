// A thread for the server's work; calls into the planner's data are posted back and waited for.
#include "SyncThread.h"

#include "CalDavClient.h"

#include <condition_variable>
#include <mutex>

SyncThread::SyncThread(QObject *parent)
    : QObject(parent)
{
}

SyncThread::~SyncThread()
{
    if (!m_thread)
        return;
    m_cancel = true;
    m_thread->wait();
}

void SyncThread::start(Work work)
{
    if (m_thread)
        return;
    m_cancel = false;
    m_thread.reset(QThread::create([this, work = std::move(work)] {
        QString failure;
        try {
            work(*this);
        } catch (const KalmoraError &error) {
            failure = error.message();
        } catch (const std::exception &error) {
            failure = QString::fromUtf8(error.what());
        }
        QMetaObject::invokeMethod(
            this,
            [this, failure] {
                m_thread->wait();
                m_thread.reset();
                Q_EMIT finished(failure);
            },
            Qt::QueuedConnection);
    }));
    m_thread->setObjectName(QStringLiteral("Kalmora sync"));
    m_thread->start();
}

namespace {
struct Call
{
    std::mutex mutex;
    std::condition_variable answered;
    bool started = false;
    bool done = false;
    bool abandoned = false; // the work stopped before the call began: it never runs
    std::exception_ptr failure;
};
}

void SyncThread::runHere(const std::function<void()> &call)
{
    auto state = std::make_shared<Call>();
    QMetaObject::invokeMethod(
        this,
        [state, &call] {
            {
                const std::lock_guard lock(state->mutex);
                if (state->abandoned)
                    return;
                state->started = true;
            }
            std::exception_ptr failure;
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
            const std::lock_guard lock(state->mutex);
            state->failure = failure;
            state->done = true;
            state->answered.notify_one();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(state->mutex);
    // Stopping is looked at now and then: this object's thread may be the one waiting for the end.
    while (!state->answered.wait_for(lock, std::chrono::milliseconds(50), [&] { return state->done || (m_cancel && !state->started); })) {
    }
    if (!state->done) {
        state->abandoned = true;
        throw CalDavError(QStringLiteral("Die Synchronisation wurde abgebrochen."), true);
    }
    if (state->failure)
        std::rethrow_exception(state->failure);
}
