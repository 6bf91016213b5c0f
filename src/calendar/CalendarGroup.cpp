// The calendar group on the "Extras" tab: a change is stored at once, as the autostart box is.
#include "CalendarGroup.h"

#include "platform/ErrorReporter.h"
#include "platform/FileDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {
const QString kFilter = QStringLiteral("iCalendar-Dateien (*.ics)");
}

CalendarGroup::CalendarGroup(QWidget *parent)
    : ExtrasGroup(QStringLiteral("Kalender"), parent)
{
    setupUi();
}

void CalendarGroup::setupUi()
{
    setObjectName(QStringLiteral("CalendarGroup"));
    KeepCurrentCheck = new QCheckBox(QStringLiteral("Kalenderdatei &aktuell halten"), this);
    KeepCurrentCheck->setObjectName(QStringLiteral("KeepCurrentCheck"));
    KeepCurrentCheck->setToolTip(QStringLiteral("Nach jeder Änderung Ihrer Termine und Hausaufgaben die Kalenderdatei neu schreiben"));

    FileEdit = new QLineEdit(this);
    FileEdit->setObjectName(QStringLiteral("CalendarFileEdit"));
    FileEdit->setToolTip(QStringLiteral("Die Kalenderdatei (*.ics), die aktuell gehalten wird"));
    FileEdit->setPlaceholderText(QDir::toNativeSeparators(CalendarSettings::defaultPath()));
    FileLabel = new QLabel(QStringLiteral("&Datei:"), this);
    FileLabel->setBuddy(FileEdit);
    FileButton = new QToolButton(this);
    FileButton->setObjectName(QStringLiteral("CalendarFileButton"));
    FileButton->setText(QStringLiteral("..."));
    FileButton->setToolTip(QStringLiteral("Kalenderdatei wählen"));

    NoteLabel = new QLabel(QStringLiteral("Liegt die Datei in einem synchronisierten Ordner, etwa von Nextcloud oder "
                                          "Syncthing, haben Sie Ihre Termine auch auf dem Handy: abonnieren oder "
                                          "importieren Sie die Datei dort in Ihrer Kalender-App."),
                           this);
    NoteLabel->setObjectName(QStringLiteral("CalendarNoteLabel"));
    NoteLabel->setWordWrap(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(KeepCurrentCheck, 0, 0, 1, 3);
    layout->addWidget(FileLabel, 1, 0);
    layout->addWidget(FileEdit, 1, 1);
    layout->addWidget(FileButton, 1, 2);
    layout->addWidget(NoteLabel, 2, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    using ErrorReporter::handler;
    // Clicks only: loading the box must not count as a change.
    connect(KeepCurrentCheck, &QCheckBox::clicked, this, handler(this, &CalendarGroup::KeepCurrentCheckClick));
    connect(FileEdit, &QLineEdit::editingFinished, this, handler(this, &CalendarGroup::FileEditFinished));
    connect(FileButton, &QToolButton::clicked, this, handler(this, &CalendarGroup::FileButtonClick));
}

void CalendarGroup::load()
{
    m_stored = CalendarSettings::load();
    KeepCurrentCheck->setChecked(m_stored.keepCurrent);
    FileEdit->setText(QDir::toNativeSeparators(m_stored.path));
}

void CalendarGroup::KeepCurrentCheckClick()
{
    // Switched on without a file: the default one, shown so that the pupil sees where it goes.
    if (KeepCurrentCheck->isChecked() && FileEdit->text().trimmed().isEmpty())
        FileEdit->setText(QDir::toNativeSeparators(CalendarSettings::defaultPath()));
    store();
}

void CalendarGroup::FileEditFinished()
{
    store();
}

void CalendarGroup::FileButtonClick()
{
    const QString current = FileEdit->text().trimmed();
    const QString path = FileDialog::getSaveFileName(this, QStringLiteral("Kalenderdatei wählen"), kFilter, QStringLiteral("ics"),
                                                     current.isEmpty() ? CalendarSettings::defaultPath() : QDir::fromNativeSeparators(current));
    if (path.isEmpty())
        return;
    FileEdit->setText(QDir::toNativeSeparators(path));
    store();
}

void CalendarGroup::store()
{
    const CalendarSettings::Options shown{KeepCurrentCheck->isChecked(), QDir::fromNativeSeparators(FileEdit->text().trimmed())};
    if (shown == m_stored)
        return;
    CalendarSettings::save(shown);
    m_stored = shown;
    Q_EMIT optionsSaved(shown);
}
