// The program's icon in the notification area.
#include "TTBNArea.h"

#include <QCursor>

TTBNArea::TTBNArea(QObject *owner)
    : QObject(owner)
{
    // No context menu is given to the tray itself: the right button is handled
    // here, so that the click rules hold whatever the tray does with it.
    connect(&m_tray, &QSystemTrayIcon::activated, this,
            qOverload<QSystemTrayIcon::ActivationReason>(&TTBNArea::handleActivation));
}

void TTBNArea::setEnabled(bool enabled)
{
    m_enabled = enabled;
    updateEntry();
}

void TTBNArea::setIcon(const QIcon &icon)
{
    m_icon = icon;
    m_tray.setIcon(icon);
}

void TTBNArea::setTip(const QString &tip)
{
    m_tip = tip;
    m_tray.setToolTip(tip.left(MaxTipLength));
}

void TTBNArea::Loaded()
{
    m_loaded = true;
    updateEntry();
}

void TTBNArea::handleActivation(QSystemTrayIcon::ActivationReason reason)
{
    handleActivation(reason, QCursor::pos());
}

void TTBNArea::handleActivation(QSystemTrayIcon::ActivationReason reason, const QPoint &at)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (m_popupMenuL)
            m_popupMenuL->popup(at);
        else
            Q_EMIT OnLeftClick();
        break;
    case QSystemTrayIcon::Context:
        if (m_popupMenuL && m_popupOnBoth)
            m_popupMenuL->popup(at);
        else if (m_popupMenuR)
            m_popupMenuR->popup(at);
        else
            Q_EMIT OnRightClick();
        break;
    case QSystemTrayIcon::DoubleClick:
        Q_EMIT OnDblClick();
        break;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void TTBNArea::showMessage(const QString &title, const QString &text, int msecs)
{
    if (m_tray.isVisible())
        m_tray.showMessage(title, text, m_icon, msecs);
}

void TTBNArea::updateEntry()
{
    m_tray.setVisible(m_enabled && m_loaded);
}
