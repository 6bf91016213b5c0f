// The group "Sicherungen" on the "Extras" tab: whether the daily snapshot is taken, and where the snapshots lie.
#pragma once

#include "extras/ExtrasGroup.h"

class QCheckBox;
class QLabel;

class BackupGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit BackupGroup(QWidget *parent = nullptr);

    /// Shows the stored option and the snapshot folder.
    void load() override;

private:
    void setupUi();
    void DailySnapshotCheckClick();

    QCheckBox *DailySnapshotCheck = nullptr;
    QLabel *FolderLabel = nullptr;
};
