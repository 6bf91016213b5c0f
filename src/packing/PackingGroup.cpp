// The group "Ranzen packen": a change is stored at once, as in the other groups of the tab.
#include "PackingGroup.h"

#include "PackingSettings.h"
#include "platform/ErrorReporter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QTimeEdit>

PackingGroup::PackingGroup(QWidget *parent)
    : ExtrasGroup(QStringLiteral("Ranzen packen"), parent)
{
    setupUi();
}

void PackingGroup::setupUi()
{
    setObjectName(QStringLiteral("PackingGroup"));
    RemindCheck = new QCheckBox(QStringLiteral("Abends an den &Ranzen erinnern"), this);
    RemindCheck->setObjectName(QStringLiteral("PackingRemindCheck"));
    RemindCheck->setToolTip(QStringLiteral("Am Abend vor jedem Schultag die Fächer und offenen Hausaufgaben von morgen anzeigen"));

    TimeEdit = new QTimeEdit(this);
    TimeEdit->setObjectName(QStringLiteral("PackingTimeEdit"));
    TimeEdit->setDisplayFormat(QStringLiteral("HH:mm"));
    TimeEdit->setToolTip(QStringLiteral("Ab dieser Uhrzeit erscheint die Erinnerung, einmal am Abend"));
    TimeEdit->setTime(QTime(19, 0));
    TimeLabel = new QLabel(QStringLiteral("&Uhrzeit:"), this);
    TimeLabel->setBuddy(TimeEdit);

    NoteLabel = new QLabel(QStringLiteral("Nicht vor Wochenenden und Ferien. Starten Sie Kalmora später am Abend, "
                                          "erscheint die Erinnerung kurz nach dem Start."),
                           this);
    NoteLabel->setObjectName(QStringLiteral("PackingNoteLabel"));
    NoteLabel->setWordWrap(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(RemindCheck, 0, 0, 1, 3);
    layout->addWidget(TimeLabel, 1, 0);
    layout->addWidget(TimeEdit, 1, 1);
    layout->addWidget(NoteLabel, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);

    using ErrorReporter::handler;
    // Clicks and finished edits only: loading the controls must not count as a change.
    connect(RemindCheck, &QCheckBox::clicked, this, handler(this, &PackingGroup::RemindCheckClick));
    connect(TimeEdit, &QTimeEdit::editingFinished, this, handler(this, &PackingGroup::TimeEditFinished));
}

void PackingGroup::load()
{
    const PackingSettings::Options stored = PackingSettings::load();
    m_storedActive = stored.active;
    m_storedTime = stored.time;
    RemindCheck->setChecked(stored.active);
    TimeEdit->setTime(stored.time);
    TimeEdit->setEnabled(stored.active);
}

void PackingGroup::RemindCheckClick()
{
    TimeEdit->setEnabled(RemindCheck->isChecked());
    store();
}

void PackingGroup::TimeEditFinished()
{
    store();
}

void PackingGroup::store()
{
    const bool active = RemindCheck->isChecked();
    const QTime time = TimeEdit->time();
    if (active == m_storedActive && time == m_storedTime)
        return;
    PackingSettings::save(active, time);
    m_storedActive = active;
    m_storedTime = time;
    Q_EMIT optionsSaved();
}
