// org.freedesktop.portal.Settings: Read once, then SettingChanged, for org.freedesktop.appearance color-scheme.
#include "ColorSchemePortal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");
constexpr int kReadTimeoutMs = 5000;
}

ColorSchemePortal::ColorSchemePortal(QObject *parent)
    : QObject(parent)
{
}

void ColorSchemePortal::start()
{
    if (m_started)
        return;
    m_started = true;
    QDBusConnection bus = m_connectionName.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(m_connectionName);
    if (!bus.isConnected())
        return;
    // Qt DBus offers signal connections only by signature text.
    bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                SLOT(SettingChanged(QString, QString, QDBusVariant)));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    call << kGroup << kKey;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReadTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ColorSchemePortal::readFinished);
}

void ColorSchemePortal::readFinished(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *watcher;
    if (reply.isError())
        return; // no portal, or one without the setting: the windows stay as they are
    report(schemeFromReply(QVariant::fromValue(reply.value())));
}

void ColorSchemePortal::SettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group == kGroup && key == kKey)
        report(schemeFromReply(QVariant::fromValue(value)));
}

int ColorSchemePortal::schemeFromReply(const QVariant &reply)
{
    QVariant value = reply;
    for (int depth = 0; depth < 4 && value.canConvert<QDBusVariant>(); ++depth)
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = value.toUInt(&ok);
    return ok && scheme <= 2 ? int(scheme) : 0;
}

void ColorSchemePortal::report(int scheme)
{
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    Q_EMIT schemeChanged(scheme);
}
