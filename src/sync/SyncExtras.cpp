// The synchronisation's menu entry, group and scheduler, wired together.
#include "SyncExtras.h"

#include "SyncGroup.h"
#include "SyncScheduler.h"
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"

SyncExtras::SyncExtras(QObject *parent)
    : QObject(parent)
{
}

void SyncExtras::install(ExtrasMenu *menu, ExtrasTab *tab)
{
    menu->addEntry(QStringLiteral("Jetzt s&ynchronisieren"),
                   QStringLiteral("Hausaufgaben und Termine sofort mit dem Kalenderserver abgleichen"), [this] { SyncNowClick(); });
    tab->addGroup([this] {
        auto *group = new SyncGroup;
        m_group = group;
        connect(group, &SyncGroup::optionsSaved, this, &SyncExtras::follow);
        if (m_scheduler)
            connect(m_scheduler, &SyncScheduler::statusChanged, group, &SyncGroup::showStatus);
        return group;
    });
}

SyncScheduler *SyncExtras::ensureScheduler()
{
    if (!m_scheduler) {
        m_scheduler = new SyncScheduler(this);
        connect(m_scheduler, &SyncScheduler::failed, this, [](const QString &message) {
            ErrorReporter::report(KalmoraError(QStringLiteral("Die Synchronisation mit dem Kalenderserver ist fehlgeschlagen.\n\n%1\n\n"
                                                              "Ihre Änderungen bleiben erhalten und werden beim nächsten Abgleich übertragen; "
                                                              "diese Meldung erscheint bis dahin nicht noch einmal.")
                                                   .arg(message)));
        });
        if (m_group)
            connect(m_scheduler, &SyncScheduler::statusChanged, m_group.data(), &SyncGroup::showStatus);
    }
    return m_scheduler;
}

void SyncExtras::startFromSettings()
{
    follow(SyncSettings::load());
}

void SyncExtras::follow(const SyncSettings::Options &options)
{
    if (!m_scheduler && !options.active)
        return;
    ensureScheduler()->apply(options);
}

void SyncExtras::SyncNowClick()
{
    const SyncSettings::Options options = SyncSettings::load();
    if (!options.active)
        throw KalmoraError(QStringLiteral("Die Synchronisation ist nicht eingeschaltet. Sie richten sie in den Einstellungen auf der Karte „Extras“ ein."));
    SyncScheduler *scheduler = ensureScheduler();
    scheduler->apply(options);
    scheduler->runNow();
}
