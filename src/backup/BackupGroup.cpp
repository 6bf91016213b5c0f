// The group "Sicherungen": the option is stored at once on a click, as the autostart box is.
#include "BackupGroup.h"

#include "BackupSettings.h"
#include "Snapshots.h"
#include "platform/ErrorReporter.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

BackupGroup::BackupGroup(QWidget *parent)
    : ExtrasGroup(QStringLiteral("Sicherungen"), parent)
{
    setupUi();
}

void BackupGroup::setupUi()
{
    setObjectName(QStringLiteral("BackupGroup"));
    DailySnapshotCheck = new QCheckBox(QStringLiteral("&Tägliche Sicherung beim ersten Start des Tages"), this);
    DailySnapshotCheck->setObjectName(QStringLiteral("DailySnapshotCheck"));
    DailySnapshotCheck->setToolTip(QStringLiteral("Beim ersten Start jedes Tages eine Kopie Ihrer Daten in den Ordner „Sicherungen“ legen"));
    FolderLabel = new QLabel(this);
    FolderLabel->setObjectName(QStringLiteral("BackupFolderLabel"));
    FolderLabel->setWordWrap(true);
    FolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DailySnapshotCheck);
    layout->addWidget(FolderLabel);

    // Clicks only: loading the box must not count as a change.
    connect(DailySnapshotCheck, &QCheckBox::clicked, this, ErrorReporter::handler(this, &BackupGroup::DailySnapshotCheckClick));
}

void BackupGroup::load()
{
    FolderLabel->setText(QStringLiteral("Die Sicherungen liegen im Ordner „%1“. Kalmora hebt die Sicherungen der letzten %2 Tage auf; "
                                        "zurückholen können Sie sie im Menü Extras mit „Daten wiederherstellen ...“.")
                             .arg(QDir::toNativeSeparators(QDir::cleanPath(Snapshots::folder())))
                             .arg(Snapshots::kDaysKept));
    DailySnapshotCheck->setChecked(BackupSettings::dailySnapshots());
}

void BackupGroup::DailySnapshotCheckClick()
{
    const bool on = DailySnapshotCheck->isChecked();
    try {
        BackupSettings::setDailySnapshots(on);
    } catch (...) {
        DailySnapshotCheck->setChecked(!on); // the box shows what is stored
        throw;
    }
}
