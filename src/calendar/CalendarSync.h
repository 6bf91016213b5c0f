// Keeps the exported calendar file current while the option is on.
#pragma once

#include "CalendarSettings.h"

#include <QObject>
#include <QString>
#include <QTimer>

/// While on, every save of the settings file leads to one rewrite of the
/// calendar file, made from the event loop once the interval has run out;
/// further saves in that time are taken into the same rewrite, so the file
/// is written at most once an interval. Nothing is written inside the
/// operation that changed the settings file.
class CalendarSync final : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultInterval = 2000; // ms

    explicit CalendarSync(QObject *parent = nullptr);
    ~CalendarSync() override;

    /// Follows the options. Switched on, or pointed at another file, the file
    /// is written once after the interval; switched off, nothing more is
    /// written and a rewrite still pending is dropped.
    void apply(const CalendarSettings::Options &options);
    bool isOn() const { return m_observer != 0; }
    /// A rewrite is waiting for its interval.
    bool isPending() const { return m_timer.isActive(); }
    QString path() const { return m_path; }
    /// Tests: a shorter interval.
    void setInterval(int milliseconds) { m_timer.setInterval(milliseconds); }

    /// Writes the calendar of all dates to `path` atomically. Throws
    /// KalmoraError with a German message naming the file when that fails;
    /// the file is then left as it was.
    static void writeCalendar(const QString &path);

Q_SIGNALS:
    /// The file was rewritten.
    void written(const QString &path);
    /// A rewrite failed; told once for a file until it is written again or
    /// the option changes. The message is German and ready to be shown.
    void failed(const QString &message);

private:
    void settingsSaved(const QString &path);
    void rewrite();

    QTimer m_timer;
    QString m_path;
    QString m_reportedPath; // the file whose failure was told already
    int m_observer = 0;     // the save observer while on
};
