// The program's icon in the notification area, raising click events for its owner.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

class TTBNArea final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QIcon Icon READ Icon WRITE setIcon)
    Q_PROPERTY(bool PopupOnBoth READ PopupOnBoth WRITE setPopupOnBoth)
    Q_PROPERTY(QMenu *PopupMenuL READ PopupMenuL WRITE setPopupMenuL)
    Q_PROPERTY(QMenu *PopupMenuR READ PopupMenuR WRITE setPopupMenuR)
    Q_PROPERTY(QString Tip READ Tip WRITE setTip)

public:
    /// The longest tooltip the tray entry carries.
    static constexpr int MaxTipLength = 63;

    explicit TTBNArea(QObject *owner = nullptr);

    bool Enabled() const { return m_enabled; }
    /// While true the icon is in the tray (from `Loaded` on).
    void setEnabled(bool enabled);
    QIcon Icon() const { return m_icon; }
    void setIcon(const QIcon &icon);
    bool PopupOnBoth() const { return m_popupOnBoth; }
    /// A right-button press also opens `PopupMenuL`.
    void setPopupOnBoth(bool both) { m_popupOnBoth = both; }
    QMenu *PopupMenuL() const { return m_popupMenuL; }
    void setPopupMenuL(QMenu *menu) { m_popupMenuL = menu; }
    QMenu *PopupMenuR() const { return m_popupMenuR; }
    void setPopupMenuR(QMenu *menu) { m_popupMenuR = menu; }
    QString Tip() const { return m_tip; }
    /// The tray entry shows at most the first 63 characters.
    void setTip(const QString &tip);

    /// Called once the owning window is built: adds the icon to the tray if Enabled.
    void Loaded();

    /// A mouse action on the icon as the tray reports it; a menu opens at `at`.
    /// Left press: `PopupMenuL` or else OnLeftClick. Right press: `PopupMenuL`
    /// when `PopupOnBoth`, else `PopupMenuR`, else OnRightClick. Double click:
    /// OnDblClick. Anything else is left alone.
    void handleActivation(QSystemTrayIcon::ActivationReason reason, const QPoint &at);
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

    /// The tray entry itself.
    const QSystemTrayIcon &trayIcon() const { return m_tray; }
    /// Shows a message in a balloon beside the icon, for a reminder when the
    /// desktop has no notification service; only while the icon is in the tray.
    void showMessage(const QString &title, const QString &text, int msecs = 15000);

Q_SIGNALS:
    void OnLeftClick();
    void OnRightClick();
    void OnDblClick();

private:
    void updateEntry();

    QSystemTrayIcon m_tray;
    bool m_enabled = true;
    bool m_loaded = false;
    QIcon m_icon;
    bool m_popupOnBoth = false;
    QPointer<QMenu> m_popupMenuL;
    QPointer<QMenu> m_popupMenuR;
    QString m_tip;
};
