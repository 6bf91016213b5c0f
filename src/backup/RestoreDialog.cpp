// The dialog "Daten wiederherstellen".
#include "RestoreDialog.h"

#include "BackupArchive.h"
#include "Restore.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString kNoSnapshot = QStringLiteral("Noch keine Sicherung vorhanden.");
}

RestoreDialog::RestoreDialog(QWidget *parent)
    : QDialog(parent)
{
    setupUi();
}

void RestoreDialog::setupUi()
{
    setObjectName(QStringLiteral("RestoreDialog"));
    setWindowTitle(QStringLiteral("Daten wiederherstellen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    SnapshotList = new QListWidget(this);
    SnapshotList->setObjectName(QStringLiteral("SnapshotList"));
    SnapshotList->setToolTip(QStringLiteral("Die Sicherungen im Ordner „Sicherungen“, die neueste zuerst"));
    SnapshotList->setFixedSize(440, 190);
    ListLabel = new QLabel(QStringLiteral("&Zurück zum Stand vom:"), this);
    ListLabel->setBuddy(SnapshotList);
    NoteLabel = new QLabel(QStringLiteral("Bevor Kalmora Ihre Daten ersetzt, hebt es den jetzigen Stand als Sicherung auf."), this);
    NoteLabel->setObjectName(QStringLiteral("RestoreNoteLabel"));
    NoteLabel->setWordWrap(true);

    FromFileButton = new QPushButton(QStringLiteral("aus &Datei ..."), this);
    FromFileButton->setObjectName(QStringLiteral("FromFileButton"));
    FromFileButton->setToolTip(QStringLiteral("Eine Sicherungsdatei (*.zip) wählen, etwa von einem USB-Stick"));
    RestoreButton = new QPushButton(QStringLiteral("&Wiederherstellen"), this);
    RestoreButton->setObjectName(QStringLiteral("RestoreButton"));
    RestoreButton->setToolTip(QStringLiteral("Die gewählte Sicherung zurückholen"));
    RestoreButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setToolTip(QStringLiteral("Nichts ändern und das Fenster schließen"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(FromFileButton);
    buttons->addStretch(1);
    buttons->addWidget(RestoreButton);
    buttons->addWidget(CancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(ListLabel);
    layout->addWidget(SnapshotList);
    layout->addWidget(NoteLabel);
    layout->addLayout(buttons);

    using ErrorReporter::handler;
    connect(RestoreButton, &QPushButton::clicked, this, handler(this, &RestoreDialog::RestoreButtonClick));
    connect(FromFileButton, &QPushButton::clicked, this, handler(this, &RestoreDialog::FromFileButtonClick));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(SnapshotList, &QListWidget::itemActivated, this, handler(this, &RestoreDialog::RestoreButtonClick));
}

void RestoreDialog::openWithSnapshots()
{
    ErrorReporter::guarded([this] { LoadSnapshots(); });
    show();
    raise();
    activateWindow();
}

void RestoreDialog::LoadSnapshots()
{
    SnapshotList->clear();
    m_entries.clear();
    RestoreButton->setEnabled(false);
    m_entries = Snapshots::list();
    for (const Snapshots::Entry &entry : m_entries)
        SnapshotList->addItem(entry.label());
    if (m_entries.isEmpty()) {
        auto *line = new QListWidgetItem(kNoSnapshot, SnapshotList);
        line->setFlags(Qt::NoItemFlags);
        return;
    }
    SnapshotList->setCurrentRow(0);
    RestoreButton->setEnabled(true);
}

void RestoreDialog::RestoreButtonClick()
{
    const int row = SnapshotList->currentRow();
    if (row < 0 || row >= m_entries.size())
        return;
    const Snapshots::Entry entry = m_entries.at(row);
    restoreFrom(Snapshots::read(entry), QStringLiteral("der Sicherung vom %1").arg(entry.label()));
}

void RestoreDialog::FromFileButtonClick()
{
    const QString path = FileDialog::getOpenFileName(this, QStringLiteral("Sicherungsdatei öffnen"),
                                                     QStringLiteral("Kalmora-Sicherungen (*.zip)"), QStringLiteral("zip"), QString(),
                                                     QFileInfo(BackupArchive::defaultPath()).path());
    if (path.isEmpty())
        return;
    const BackupContent content = BackupArchive::read(path);
    restoreFrom(content, QStringLiteral("der Datei „%1“ (gesichert am %2 Uhr)")
                             .arg(QDir::toNativeSeparators(path), content.created.toString(QStringLiteral("dd.MM.yyyy 'um' hh:mm"))));
}

void RestoreDialog::restoreFrom(const BackupContent &content, const QString &source)
{
    const QList<Restore::Change> changes = Restore::preview(content);
    if (std::all_of(changes.begin(), changes.end(), [](const Restore::Change &change) { return change.unchanged; })) {
        Prompt::inform(this, ErrorReporter::applicationTitle(),
                       QStringLiteral("In %1 stehen genau Ihre jetzigen Daten. Es gibt nichts wiederherzustellen.").arg(source));
        return;
    }
    Prompt::Question question;
    question.title = ErrorReporter::applicationTitle();
    question.text = QStringLiteral("Die Daten aus %1 ersetzen Ihre jetzigen Daten:\n\n%2\n\n"
                                   "Ihr jetziger Stand wird vorher als Sicherung aufgehoben.\n\nJetzt wiederherstellen?")
                        .arg(source, Restore::describe(changes));
    question.icon = QMessageBox::Question;
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    question.defaultButton = QMessageBox::No;
    if (Prompt::ask(this, question) != QMessageBox::Yes)
        return;
    Restore::replace(content);
    // The windows show the restored data before the confirmation is read.
    accept();
    Q_EMIT restored();
    Prompt::inform(parentWidget(), ErrorReporter::applicationTitle(),
                   QStringLiteral("Ihre Daten wurden wiederhergestellt. Der Stand davor ist als Sicherung aufgehoben."));
}
