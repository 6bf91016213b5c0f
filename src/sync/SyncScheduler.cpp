// Debounced and periodic synchronisation runs; a failure is told once.
#include "SyncScheduler.h"

#include "HomeworkStoreSource.h"
#include "SyncCommand.h"
#include "SyncPassword.h"
#include "SyncThread.h"
#include "ThreadedHomeworkSource.h"
#include "platform/ProfileFile.h"

#include <QFileInfo>

#include <utility>

SyncScheduler::SyncScheduler(QObject *parent)
    : QObject(parent)
{
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(ChangeDelay);
    m_periodTimer.setInterval(Period);
    connect(&m_changeTimer, &QTimer::timeout, this, &SyncScheduler::runNow);
    connect(&m_periodTimer, &QTimer::timeout, this, &SyncScheduler::runNow);
    const SyncState state = SyncState::load();
    m_status = SyncCommand::statusText(state.lastSync, state.skipped, m_options);
}

SyncScheduler::~SyncScheduler()
{
    if (m_observer)
        ProfileFile::removeSaveObserver(m_observer);
    delete m_thread; // stops a sync under way at its next request and waits for it
    m_thread = nullptr;
}

void SyncScheduler::setIntervals(int changeDelay, int period)
{
    m_changeTimer.setInterval(changeDelay);
    m_periodTimer.setInterval(period);
}

void SyncScheduler::apply(const SyncSettings::Options &options)
{
    const bool changed = !(options == m_options);
    m_options = options;
    if (!options.active) {
        if (m_observer)
            ProfileFile::removeSaveObserver(m_observer);
        m_observer = 0;
        m_changeTimer.stop();
        m_periodTimer.stop();
        return;
    }
    if (!m_observer)
        m_observer = ProfileFile::addSaveObserver([this](const QString &path) { settingsSaved(path); });
    if (changed) {
        m_reported.clear();
        if (!m_running) {
            const SyncState state = SyncState::load();
            setStatus(SyncCommand::statusText(state.lastSync, state.skipped, options));
        }
    }
    m_periodTimer.start();
    m_changeTimer.start();
}

void SyncScheduler::settingsSaved(const QString &path)
{
    // The sync's own changes to the homework need no further sync; the
    // pupil's changes while a run waits for the server need one after it.
    if (HomeworkStoreSource::writing() || QFileInfo(path).fileName().compare(u"DEZUVEDIRED.INI", Qt::CaseInsensitive) != 0)
        return;
    if (m_running)
        m_changedWhileRunning = true;
    else if (!m_changeTimer.isActive())
        m_changeTimer.start();
}

bool SyncScheduler::runNow()
{
    if (m_running)
        return false;
    m_running = true;
    setStatus(QStringLiteral("Synchronisation läuft ..."));
    if (m_options.user.trimmed().isEmpty()) {
        startThread(QString());
        return true;
    }
    SyncPassword::fetch(m_options.server, m_options.user, this, [this](const std::optional<QString> &password) {
        if (password)
            startThread(*password);
        else
            finish(QStringLiteral("Das Passwort für die Synchronisation fehlt. Bitte geben Sie es auf der Karte „Extras“ ein."));
    });
    return true;
}

void SyncScheduler::startThread(const QString &password)
{
    if (!m_thread) {
        m_thread = new SyncThread(this);
        connect(m_thread, &SyncThread::progress, this, &SyncScheduler::setStatus);
        connect(m_thread, &SyncThread::finished, this, &SyncScheduler::finish);
    }
    m_thread->start([options = m_options, classList = ClassListSettings::load(), password](SyncThread &thread) {
        ThreadedHomeworkSource homework(thread);
        SyncCommand::run(
            options, classList, password, homework,
            [&thread](SyncEngine::Phase phase, int done, int total) { thread.tellProgress(SyncCommand::progressText(phase, done, total)); },
            &thread.cancelled());
    });
}

void SyncScheduler::finish(const QString &failure)
{
    m_running = false;
    if (failure.isEmpty()) {
        const SyncState state = SyncState::load();
        m_reported.clear();
        setStatus(SyncCommand::statusText(state.lastSync, state.skipped, m_options));
    }
    if (std::exchange(m_changedWhileRunning, false))
        m_changeTimer.start();
    if (failure.isEmpty()) {
        Q_EMIT finished(true);
        return;
    }
    setStatus(QStringLiteral("Synchronisation fehlgeschlagen: %1 Die Änderungen werden später übertragen.").arg(failure));
    if (m_reported != failure) {
        m_reported = failure;
        Q_EMIT failed(failure);
    }
    Q_EMIT finished(false);
}

void SyncScheduler::setStatus(const QString &status)
{
    m_status = status;
    Q_EMIT statusChanged(status);
}
