// The synchronisation in the "Extras" menu and on the "Extras" tab, and its scheduling.
#pragma once

#include "SyncSettings.h"

#include <QObject>
#include <QPointer>

class ExtrasMenu;
class ExtrasTab;
class SyncGroup;
class SyncScheduler;

class SyncExtras final : public QObject
{
    Q_OBJECT
public:
    explicit SyncExtras(QObject *parent = nullptr);

    /// Adds "Jetzt synchronisieren" to the menu and the group to the tab.
    void install(ExtrasMenu *menu, ExtrasTab *tab);
    /// Starts the scheduling when the stored settings are on; call it after
    /// the first frame. With the synchronisation off nothing is built.
    void startFromSettings();
    SyncScheduler *scheduler() const { return m_scheduler; }

    /// "Jetzt synchronisieren": one sync now; a failure is thrown with its German message.
    void SyncNowClick();

private:
    void follow(const SyncSettings::Options &options);
    SyncScheduler *ensureScheduler();

    SyncScheduler *m_scheduler = nullptr;
    QPointer<SyncGroup> m_group;
};
