// The evening reminder on the "Extras" tab and its scheduler.
#include "PackingExtras.h"

#include "PackingGroup.h"
#include "PackingNotifier.h"
#include "PackingScheduler.h"
#include "PackingSettings.h"
#include "PackingWindow.h"
#include "TBNArea/TTBNArea.h"
#include "extras/ExtrasTab.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"

PackingExtras::PackingExtras(QObject *parent)
    : QObject(parent)
{
}

PackingExtras::~PackingExtras() = default;

void PackingExtras::install(ExtrasTab *tab, TTBNArea *tray)
{
    m_tray = tray;
    tab->addGroup([this] {
        auto *group = new PackingGroup;
        connect(group, &PackingGroup::optionsSaved, this, [this] { ErrorReporter::guarded([this] { follow(); }); });
        return group;
    });
}

void PackingExtras::startFromSettings()
{
    if (!m_scheduler && !PackingSettings::load().active)
        return;
    follow();
}

void PackingExtras::follow()
{
    if (!m_scheduler) {
        m_notifier = new PackingNotifier(this);
        m_notifier->setTray(m_tray);
        m_scheduler = new PackingScheduler(*m_notifier, this);
        connect(m_scheduler, &PackingScheduler::failed, this, [](const QString &message) { ErrorReporter::report(KalmoraError(message)); });
    }
    m_scheduler->check();
}
