// Shows the evening reminder at its time: once at start when the program starts
// late, then by a timer armed for the next evening before a school day.
#pragma once

#include "PackingSettings.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

class PackingDisplay;

class PackingScheduler final : public QObject
{
    Q_OBJECT
public:
    /// The longest single wait: after a suspend or a change of the system
    /// clock the timer may be off, so it wakes at least this often and looks again.
    static constexpr int MaxWaitMs = 15 * 60 * 1000;

    explicit PackingScheduler(PackingDisplay &display, QObject *parent = nullptr);

    /// Reads the stored option, shows the reminder when it is due now (the
    /// program was started after its time) and arms the timer for the next one.
    void start();
    /// Shows the reminder when it is due by the program's clock, notes the day,
    /// and arms the timer again; also what follows a changed option. Returns
    /// whether it was shown. Throws when the settings file cannot be read or
    /// written; the timer is armed all the same.
    bool check();

    /// The moment the timer waits for; invalid while nothing is armed.
    QDateTime nextMoment() const { return m_next; }
    const QTimer &timer() const { return m_timer; }

Q_SIGNALS:
    /// The reminder was shown with this text.
    void shown(const QString &text);
    /// A check from the timer failed; the message is German.
    void failed(const QString &message);

private:
    bool showIfDue(PackingSettings::Options options);
    void arm(const PackingSettings::Options &options);
    void timerFired();

    PackingDisplay &m_display;
    QTimer m_timer;
    QDateTime m_next;
    QDate m_shownOn; // also when noting the day in the file failed
    QDate m_quietOn; // due, but tomorrow asks for nothing: the timer waits for the next evening
};
