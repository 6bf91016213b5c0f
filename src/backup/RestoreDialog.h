// The dialog "Daten wiederherstellen": a snapshot or a backup file chosen, asked for, and put back in place.
#pragma once

#include "Snapshots.h"

#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;
struct BackupContent;

class RestoreDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit RestoreDialog(QWidget *parent = nullptr);

    /// Lists the snapshots anew, newest first and selected, and shows the
    /// dialog modal without waiting for it to close.
    void openWithSnapshots();

Q_SIGNALS:
    /// The data files were replaced; the dialog has closed.
    void restored();

private:
    void setupUi();
    void LoadSnapshots();
    void RestoreButtonClick();
    void FromFileButtonClick();
    /// Names what `content` replaces and asks; on "Ja" keeps the current
    /// state as a snapshot, replaces the files, confirms and closes.
    void restoreFrom(const BackupContent &content, const QString &source);

    QLabel *ListLabel = nullptr;
    QListWidget *SnapshotList = nullptr;
    QLabel *NoteLabel = nullptr;
    QPushButton *FromFileButton = nullptr;
    QPushButton *RestoreButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QList<Snapshots::Entry> m_entries; // in the order of the list
};
