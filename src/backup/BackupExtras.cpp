// Backup and restore in the "Extras" menu and on the "Extras" tab.
#include "BackupExtras.h"

#include "BackupArchive.h"
#include "BackupGroup.h"
#include "DataFiles.h"
#include "RestoreDialog.h"
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "platform/Counted.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"

#include <QDir>
#include <QStringList>

namespace {
const QString kFilter = QStringLiteral("Kalmora-Sicherungen (*.zip)");
}

BackupExtras::BackupExtras(QObject *parent)
    : QObject(parent)
{
}

void BackupExtras::install(ExtrasMenu *menu, ExtrasTab *tab)
{
    m_window = menu->parentWidget() ? menu->parentWidget()->window() : nullptr;
    menu->addSeparator();
    menu->addEntry(QStringLiteral("Daten &sichern ..."),
                   QStringLiteral("Hausaufgaben, Stundenplan, Termine, Noten und Recherche-Links in eine Sicherungsdatei (*.zip) schreiben"),
                   [window = m_window] { BackupClick(window); });
    menu->addEntry(QStringLiteral("Daten &wiederherstellen ..."),
                   QStringLiteral("Ihre Daten aus einer Sicherung der letzten Tage oder aus einer Sicherungsdatei zurückholen"),
                   [this] { RestoreClick(); });
    tab->addGroup([] { return new BackupGroup; });
}

void BackupExtras::BackupClick(QWidget *parent)
{
    const BackupContent content = DataFiles::collect();
    if (content.files.isEmpty()) {
        // An empty backup file would look like a success and hold nothing.
        Prompt::inform(parent, ErrorReporter::applicationTitle(),
                       QStringLiteral("Es gibt noch keine Daten, die gesichert werden könnten."));
        return;
    }
    const QString path = FileDialog::getSaveFileName(parent, QStringLiteral("Daten sichern"), kFilter, QStringLiteral("zip"),
                                                     BackupArchive::defaultPath());
    if (path.isEmpty())
        return;
    BackupArchive::write(path, content);
    QStringList names;
    for (const BackupFile &file : content.files)
        names.append(file.name);
    Prompt::inform(parent, ErrorReporter::applicationTitle(),
                   QStringLiteral("Ihre Daten wurden in die Datei „%1“ gesichert.\n\nDie Sicherung enthält %2: %3.")
                       .arg(QDir::toNativeSeparators(path), counted(names.size(), "Datei", "Dateien"), names.join(QStringLiteral(", "))));
}

RestoreDialog *BackupExtras::restoreDialog() const
{
    return m_dialog;
}

void BackupExtras::RestoreClick()
{
    if (!m_dialog) {
        m_dialog = new RestoreDialog(m_window);
        connect(m_dialog, &RestoreDialog::restored, this, &BackupExtras::restored);
    }
    m_dialog->openWithSnapshots();
}
