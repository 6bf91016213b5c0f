// The desktop's colour preference, read from the desktop portal on the session bus.
#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

class ColorSchemePortal final : public QObject
{
    Q_OBJECT
public:
    static constexpr int NoPortal = -1;

    explicit ColorSchemePortal(QObject *parent = nullptr);

    /// Tests use a private bus: the name of a connection made with
    /// QDBusConnection::connectToBus. Empty: the session bus.
    void setBusConnection(const QString &name) { m_connectionName = name; }

    /// Asks the portal for "color-scheme" without waiting, and follows its
    /// changes from then on. Without a bus or portal nothing is reported.
    void start();

    /// The last value reported: 0 no preference, 1 dark, 2 light, or NoPortal.
    int scheme() const { return m_scheme; }

    /// The portal's reply unwrapped from its variants (Read wraps it twice).
    static int schemeFromReply(const QVariant &reply);

Q_SIGNALS:
    void schemeChanged(int scheme);

private Q_SLOTS:
    void SettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void readFinished(QDBusPendingCallWatcher *watcher);
    void report(int scheme);

    QString m_connectionName;
    int m_scheme = NoPortal;
    bool m_started = false;
};
