// The calendar in the "Extras" menu and on the "Extras" tab.
#include "CalendarExtras.h"

#include "CalendarGroup.h"
#include "CalendarSync.h"
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"

#include <QDir>

CalendarExtras::CalendarExtras(QObject *parent)
    : QObject(parent)
{
}

void CalendarExtras::install(ExtrasMenu *menu, ExtrasTab *tab)
{
    QWidget *window = menu->parentWidget() ? menu->parentWidget()->window() : nullptr;
    menu->addEntry(QStringLiteral("Kalender &exportieren ..."),
                   QStringLiteral("Alle Termine, Hausaufgaben, Alarme und Ferien als iCalendar-Datei speichern"),
                   [window] { ExportClick(window); });
    tab->addGroup([this] {
        auto *group = new CalendarGroup;
        connect(group, &CalendarGroup::optionsSaved, this, &CalendarExtras::follow);
        return group;
    });
}

void CalendarExtras::startFromSettings()
{
    follow(CalendarSettings::load());
}

void CalendarExtras::follow(const CalendarSettings::Options &options)
{
    if (!m_sync && !options.keepCurrent)
        return;
    if (!m_sync) {
        m_sync = new CalendarSync(this);
        connect(m_sync, &CalendarSync::failed, this, [](const QString &message) { ErrorReporter::report(KalmoraError(message)); });
    }
    m_sync->apply(options);
}

void CalendarExtras::ExportClick(QWidget *parent)
{
    const QString path = FileDialog::getSaveFileName(parent, QStringLiteral("Kalender exportieren"), QStringLiteral("iCalendar-Dateien (*.ics)"),
                                                     QStringLiteral("ics"), CalendarSettings::defaultPath());
    if (path.isEmpty())
        return;
    CalendarSync::writeCalendar(path);
    Prompt::inform(parent, ErrorReporter::applicationTitle(),
                   QStringLiteral("Der Kalender wurde in die Datei „%1“ exportiert.").arg(QDir::toNativeSeparators(path)));
}
