// Shows the evening reminder as a desktop notification; without a notification
// service in the tray icon's balloon, and without a tray in a small window.
#pragma once

#include "PackingDisplay.h"
#include "PackingWindow.h"
#include "TBNArea/TTBNArea.h"

#include <QObject>
#include <QPointer>
#include <QString>

class PackingNotifier final : public QObject, public PackingDisplay
{
    Q_OBJECT
public:
    enum class Route { Notification, TrayBalloon, Window };
    Q_ENUM(Route)

    /// How long the notification service may take to answer.
    static constexpr int NotifyTimeoutMs = 3000;

    explicit PackingNotifier(QObject *parent = nullptr);
    ~PackingNotifier() override;

    /// The D-Bus connection to send on, by its name; empty (the default) is the session bus.
    void setBusConnection(const QString &connectionName) { m_connectionName = connectionName; }
    /// The tray icon for the balloon; none: the window is the fallback.
    void setTray(TTBNArea *tray) { m_tray = tray; }

    /// Sends the notification; the answer comes later, and only when no
    /// service takes it does the reminder go to the balloon or the window.
    void showReminder(const QString &summary, const QString &body) override;

    /// The fallback window, once it was needed.
    PackingWindow *window() const { return m_window; }

Q_SIGNALS:
    /// The reminder reached the pupil this way; `id` is the service's number
    /// for a notification, else 0.
    void delivered(PackingNotifier::Route route, uint id);

private:
    void fallBack(const QString &summary, const QString &body);

    QString m_connectionName;
    QPointer<TTBNArea> m_tray;
    QPointer<PackingWindow> m_window;
};
