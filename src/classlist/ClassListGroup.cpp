// "Listen abrufen" lists the account's task lists, "Neu anlegen" makes one, "Übernehmen" stores the choice.
#include "ClassListGroup.h"

#include "ClassListState.h"
#include "platform/Counted.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"
#include "sync/CalDavClient.h"
#include "sync/SyncPassword.h"
#include "sync/SyncSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

namespace {

const QString kNewName = QStringLiteral("Hausaufgaben der Klasse");

// A client of the account of the sync group; the class list lives on the same server.
CalDavClient accountClient()
{
    const SyncSettings::Options account = SyncSettings::load();
    if (account.server.trimmed().isEmpty())
        throw KalmoraError(QStringLiteral("Richten Sie zuerst oben die Synchronisation (CalDAV) mit Server und Benutzer ein."));
    const QString password = SyncPassword::read(account.server, account.user).value_or(QString());
    return CalDavClient({account.server, account.user, password});
}

}

ClassListGroup::ClassListGroup(QWidget *parent)
    : ExtrasGroup(QStringLiteral("Klassenliste"), parent)
{
    setupUi();
}

void ClassListGroup::setupUi()
{
    setObjectName(QStringLiteral("ClassListGroup"));
    ClassActiveCheck = new QCheckBox(QStringLiteral("Aufgaben der &Klasse abgleichen"), this);
    ClassActiveCheck->setObjectName(QStringLiteral("ClassActiveCheck"));
    ClassActiveCheck->setToolTip(QStringLiteral("Die Hausaufgaben einer mit der Klasse geteilten Aufgabenliste bei jedem Abgleich übernehmen"));
    ClassListCombo = new QComboBox(this);
    ClassListCombo->setObjectName(QStringLiteral("ClassListCombo"));
    ClassListCombo->setEditable(true); // a list the server does not show in the account can be typed as its address
    ClassListCombo->setToolTip(QStringLiteral("Die Aufgabenliste der Klasse; mit Ihnen geteilte Listen stehen mit ihrem Besitzer da. "
                                              "Eine Liste, die der Server nicht aufführt, geben Sie mit ihrer Adresse ein."));
    ClassFetchButton = new QPushButton(QStringLiteral("Listen abru&fen"), this);
    ClassFetchButton->setObjectName(QStringLiteral("ClassFetchButton"));
    ClassFetchButton->setToolTip(QStringLiteral("Die Aufgabenlisten auflisten, die Ihr Konto sieht, auch die mit Ihnen geteilten"));
    ClassNewButton = new QPushButton(QStringLiteral("Neu anle&gen"), this);
    ClassNewButton->setObjectName(QStringLiteral("ClassNewButton"));
    ClassNewButton->setToolTip(QStringLiteral("Eine neue Aufgabenliste „%1“ anlegen, die Sie dann auf dem Server mit der Klasse teilen").arg(kNewName));
    ClassApplyButton = new QPushButton(QStringLiteral("Klassenliste si&chern"), this);
    ClassApplyButton->setObjectName(QStringLiteral("ClassApplyButton"));
    ClassApplyButton->setToolTip(QStringLiteral("Die Wahl speichern; sie gilt ab dem nächsten Abgleich"));
    ClassStatusLabel = new QLabel(this);
    ClassStatusLabel->setObjectName(QStringLiteral("ClassStatusLabel"));
    ClassStatusLabel->setWordWrap(true);

    auto *form = new QFormLayout(this);
    form->addRow(ClassActiveCheck);
    auto *label = new QLabel(QStringLiteral("Aufgaben&liste:"), this);
    label->setBuddy(ClassListCombo);
    form->addRow(label, ClassListCombo);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ClassStatusLabel, 1);
    buttons->addWidget(ClassFetchButton, 0, Qt::AlignTop);
    buttons->addWidget(ClassNewButton, 0, Qt::AlignTop);
    buttons->addWidget(ClassApplyButton, 0, Qt::AlignTop);
    form->addRow(buttons);

    using ErrorReporter::handler;
    connect(ClassFetchButton, &QPushButton::clicked, this, handler(this, &ClassListGroup::FetchButtonClick));
    connect(ClassNewButton, &QPushButton::clicked, this, handler(this, &ClassListGroup::NewButtonClick));
    connect(ClassApplyButton, &QPushButton::clicked, this, handler(this, &ClassListGroup::ApplyButtonClick));
}

void ClassListGroup::load()
{
    const ClassListSettings::Options stored = ClassListSettings::load();
    ClassActiveCheck->setChecked(stored.active);
    fillChoice(stored.tasks);
    ClassStatusLabel->setText(ClassListState::shareAvailable() == std::optional(false)
                                  ? QStringLiteral("Diese Liste ist für Sie nur lesbar: Sie erhalten die Hausaufgaben der Klasse, "
                                                   "können aber keine eintragen.")
                                  : QString());
}

void ClassListGroup::fillChoice(const QString &chosen)
{
    ClassListCombo->clear();
    ClassListCombo->addItem(QStringLiteral("(keine)"), QString());
    for (const Found &found : std::as_const(m_found))
        ClassListCombo->addItem(found.label, found.url);
    if (!chosen.isEmpty() && ClassListCombo->findData(chosen) < 0)
        ClassListCombo->addItem(chosen, chosen);
    ClassListCombo->setCurrentIndex(std::max(0, ClassListCombo->findData(chosen)));
}

QString ClassListGroup::chosenUrl() const
{
    const int listed = ClassListCombo->findText(ClassListCombo->currentText());
    return listed >= 0 ? ClassListCombo->itemData(listed).toString() : ClassListCombo->currentText().trimmed();
}

void ClassListGroup::FetchButtonClick()
{
    ClassStatusLabel->setText(QStringLiteral("Aufgabenlisten werden abgerufen ..."));
    // The window stays usable while the server answers; a second click must wait.
    ClassFetchButton->setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { ClassFetchButton->setEnabled(true); });
    CalDavClient client = accountClient();
    m_found.clear();
    for (const CalDavClient::Collection &c : client.listCollections(client.discoverHome())) {
        if (c.todos)
            m_found.append({c.url.toString(), ClassListSettings::listLabel(c.name, c.url.toString())});
    }
    fillChoice(chosenUrl());
    ClassStatusLabel->setText(counted(m_found.size(), "Aufgabenliste", "Aufgabenlisten") + QStringLiteral(" gefunden."));
}

void ClassListGroup::NewButtonClick()
{
    CalDavClient client = accountClient();
    const QString url = client.makeCalendar(client.discoverHome(), QStringLiteral("klasse"), kNewName, true).toString();
    m_found.append({url, kNewName});
    fillChoice(url);
    ClassStatusLabel->setText(QStringLiteral("Angelegt. Teilen Sie die Liste auf dem Server mit den Konten Ihrer Klasse (siehe Hilfe)."));
}

void ClassListGroup::ApplyButtonClick()
{
    ClassListSettings::save({ClassActiveCheck->isChecked(), chosenUrl()});
    ClassStatusLabel->setText(QStringLiteral("Gespeichert."));
}
