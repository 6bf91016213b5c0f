// The evening reminder on the desktop: org.freedesktop.Notifications on the session bus.
#include "PackingNotifier.h"

#include "PackingWindow.h"
#include "TBNArea/TTBNArea.h"
#include "platform/Pixmaps.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QSystemTrayIcon>

namespace {

// The picture of a notification as the "image-data" hint carries it: (iiibiiay).
struct NotificationImage
{
    int width = 0;
    int height = 0;
    int rowStride = 0;
    bool hasAlpha = true;
    int bitsPerSample = 8;
    int channels = 4;
    QByteArray data;
};

QDBusArgument &operator<<(QDBusArgument &argument, const NotificationImage &image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.rowStride << image.hasAlpha << image.bitsPerSample << image.channels << image.data;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, NotificationImage &image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.rowStride >> image.hasAlpha >> image.bitsPerSample >> image.channels >> image.data;
    argument.endStructure();
    return argument;
}

}

Q_DECLARE_METATYPE(NotificationImage)

namespace {

QVariant programImage()
{
    static const QMetaType type = qDBusRegisterMetaType<NotificationImage>();
    Q_UNUSED(type);
    const QImage image = Pixmaps::programIcon().pixmap(48, 48).toImage().convertToFormat(QImage::Format_RGBA8888);
    if (image.isNull())
        return {};
    NotificationImage data;
    data.width = image.width();
    data.height = image.height();
    data.rowStride = int(image.bytesPerLine());
    data.data = QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    return QVariant::fromValue(data);
}

// Notification services read the body as simple markup.
QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

}

PackingNotifier::PackingNotifier(QObject *parent)
    : QObject(parent)
{
}

PackingNotifier::~PackingNotifier()
{
    delete m_window.data();
}

void PackingNotifier::showReminder(const QString &summary, const QString &body)
{
    // The bus is joined only now, so that the program's start does not wait for it.
    QDBusConnection bus = m_connectionName.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(m_connectionName);
    if (!bus.isConnected()) {
        fallBack(summary, body);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("kalmora"));
    if (const QVariant image = programImage(); image.isValid())
        hints.insert(QStringLiteral("image-data"), image);
    call << QStringLiteral("Kalmora") << uint(0) << QStringLiteral("kalmora") << summary << escaped(body) << QStringList() << hints
         << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, NotifyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, summary, body](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isError()) {
            fallBack(summary, body); // no service, or it did not answer in time
            return;
        }
        Q_EMIT delivered(Route::Notification, reply.value());
    });
}

void PackingNotifier::fallBack(const QString &summary, const QString &body)
{
    if (m_tray && m_tray->trayIcon().isVisible() && QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
        m_tray->showMessage(summary, body);
        Q_EMIT delivered(Route::TrayBalloon, 0);
        return;
    }
    if (!m_window)
        m_window = new PackingWindow;
    m_window->showReminder(summary, body);
    Q_EMIT delivered(Route::Window, 0);
}
