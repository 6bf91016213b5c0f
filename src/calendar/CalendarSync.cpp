// Rewriting the calendar file after the program's changes to the settings file.
#include "CalendarSync.h"

#include "calendar/CalendarExport.h"
#include "platform/Errors.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
bool isSettingsFile(const QString &path)
{
    return QFileInfo(path).fileName().compare(u"DEZUVEDIRED.INI", Qt::CaseInsensitive) == 0;
}
}

CalendarSync::CalendarSync(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(DefaultInterval);
    connect(&m_timer, &QTimer::timeout, this, &CalendarSync::rewrite);
}

CalendarSync::~CalendarSync()
{
    if (m_observer)
        ProfileFile::removeSaveObserver(m_observer);
}

void CalendarSync::apply(const CalendarSettings::Options &options)
{
    if (!options.keepCurrent) {
        if (m_observer)
            ProfileFile::removeSaveObserver(m_observer);
        m_observer = 0;
        m_timer.stop();
        return;
    }
    const QString path = CalendarSettings::fileOf(options);
    const bool changed = !m_observer || path != m_path;
    m_path = path;
    if (!m_observer)
        m_observer = ProfileFile::addSaveObserver([this](const QString &saved) { settingsSaved(saved); });
    if (changed) {
        m_reportedPath.clear(); // a new choice: its failure is worth telling
        if (!m_timer.isActive())
            m_timer.start();
    }
}

void CalendarSync::settingsSaved(const QString &path)
{
    // Only noted here: the rewrite runs later from the event loop. A timer
    // already running takes this change along, so rewrites stay an interval apart.
    if (isSettingsFile(path) && !m_timer.isActive())
        m_timer.start();
}

void CalendarSync::rewrite()
{
    if (!m_observer)
        return;
    // Called from the event loop: nothing may escape from here.
    QString failure;
    try {
        writeCalendar(m_path);
        m_reportedPath.clear();
        Q_EMIT written(m_path);
        return;
    } catch (const KalmoraError &error) {
        failure = error.message();
    } catch (const std::exception &error) {
        failure = QString::fromUtf8(error.what());
    } catch (...) {
        failure = QStringLiteral("Die Kalenderdatei „%1“ konnte nicht geschrieben werden.").arg(m_path);
    }
    if (m_reportedPath == m_path)
        return;
    m_reportedPath = m_path;
    Q_EMIT failed(QStringLiteral("Die Kalenderdatei konnte nicht aktualisiert werden.\n\n%1\n\n"
                                 "Bei weiteren Änderungen wird es erneut versucht, ohne diese Meldung zu wiederholen. "
                                 "Eine andere Datei wählen Sie in der Optionsbox auf der Karte „Extras“.")
                      .arg(failure));
}

void CalendarSync::writeCalendar(const QString &path)
{
    try {
        CalendarExport::writeFile(path);
    } catch (const KalmoraError &error) {
        throw KalmoraError(QStringLiteral("Der Kalender konnte nicht in die Datei „%1“ geschrieben werden.\n(%2)")
                               .arg(QDir::toNativeSeparators(path), error.message()));
    }
}
