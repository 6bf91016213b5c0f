// The evening reminder: its group on the "Extras" tab and the scheduler that shows it.
#pragma once

#include <QObject>
#include <QPointer>

#include "TBNArea/TTBNArea.h"

class ExtrasTab;
class PackingNotifier;
class PackingScheduler;

class PackingExtras final : public QObject
{
    Q_OBJECT
public:
    explicit PackingExtras(QObject *parent = nullptr);
    ~PackingExtras() override;

    /// Adds the group "Ranzen packen" to the tab; `tray` takes the balloon
    /// when the desktop has no notification service.
    void install(ExtrasTab *tab, TTBNArea *tray);
    /// Shows the reminder when it is due already and arms its timer, when the
    /// stored option is on; with the option off nothing is built.
    void startFromSettings();

    PackingNotifier *notifier() const { return m_notifier; }
    PackingScheduler *scheduler() const { return m_scheduler; }

private:
    void follow();

    QPointer<TTBNArea> m_tray;
    PackingNotifier *m_notifier = nullptr;
    PackingScheduler *m_scheduler = nullptr;
};
