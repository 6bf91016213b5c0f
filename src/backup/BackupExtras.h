// Backing up and restoring the data in the "Extras" menu, and the daily snapshot's option on the "Extras" tab.
#pragma once

#include <QObject>
#include <QPointer>

class ExtrasMenu;
class ExtrasTab;
class QWidget;
class RestoreDialog;

class BackupExtras final : public QObject
{
    Q_OBJECT
public:
    explicit BackupExtras(QObject *parent = nullptr);

    /// Adds "Daten sichern ..." and "Daten wiederherstellen ..." to the menu
    /// and the group "Sicherungen" to the tab.
    void install(ExtrasMenu *menu, ExtrasTab *tab);

    /// "Daten sichern ...": asks for a file and writes the data files into it
    /// as one backup file, then names the file and what it holds. A failure
    /// is thrown with a German message; an existing file stays as it was then.
    static void BackupClick(QWidget *parent);
    /// "Daten wiederherstellen ...": shows the restore dialog without waiting.
    void RestoreClick();

    /// The restore dialog; null until the entry was first chosen.
    RestoreDialog *restoreDialog() const;

Q_SIGNALS:
    /// The data files were replaced by those of a backup; every window that
    /// shows data must read it anew.
    void restored();

private:
    QPointer<QWidget> m_window;
    QPointer<RestoreDialog> m_dialog;
};
