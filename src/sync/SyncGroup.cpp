// The synchronisation group: "Verbindung prüfen" lists the calendars, "Übernehmen" stores the choice.
#include "SyncGroup.h"

#include "CalDavClient.h"
#include "SyncCommand.h"
#include "SyncPassword.h"
#include "platform/ErrorReporter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

namespace {
const QString kNewTasks = QStringLiteral("Kalmora Hausaufgaben");
const QString kNewEvents = QStringLiteral("Kalmora Termine");
constexpr int NewItem = 1; // data of the entry that makes a new calendar
}

SyncGroup::SyncGroup(QWidget *parent)
    : ExtrasGroup(QStringLiteral("Synchronisation (CalDAV)"), parent)
{
    setupUi();
}

void SyncGroup::setupUi()
{
    setObjectName(QStringLiteral("SyncGroup"));
    ActiveCheck = new QCheckBox(QStringLiteral("Hausaufgaben und Termine mit dem Kalenderserver &abgleichen"), this);
    ActiveCheck->setObjectName(QStringLiteral("SyncActiveCheck"));
    ActiveCheck->setToolTip(QStringLiteral("Nach jeder Änderung, alle 15 Minuten und auf Wunsch mit dem Server abgleichen"));
    ServerEdit = new QLineEdit(this);
    ServerEdit->setObjectName(QStringLiteral("SyncServerEdit"));
    ServerEdit->setPlaceholderText(QStringLiteral("https://cloud.example.de"));
    ServerEdit->setToolTip(QStringLiteral("Die Adresse Ihres Kalenderservers, etwa Ihrer Nextcloud"));
    UserEdit = new QLineEdit(this);
    UserEdit->setObjectName(QStringLiteral("SyncUserEdit"));
    UserEdit->setToolTip(QStringLiteral("Ihr Benutzername auf dem Server"));
    PasswordEdit = new QLineEdit(this);
    PasswordEdit->setObjectName(QStringLiteral("SyncPasswordEdit"));
    PasswordEdit->setEchoMode(QLineEdit::Password);
    PasswordEdit->setToolTip(QStringLiteral("Wird im Schlüsselbund der Arbeitsumgebung gespeichert, nie in einer Datei des Planers"));
    CheckButton = new QPushButton(QStringLiteral("Verbindung &prüfen"), this);
    CheckButton->setObjectName(QStringLiteral("SyncCheckButton"));
    CheckButton->setToolTip(QStringLiteral("Anmelden und die Kalender und Aufgabenlisten des Servers auflisten"));
    TasksCombo = new QComboBox(this);
    TasksCombo->setObjectName(QStringLiteral("SyncTasksCombo"));
    TasksCombo->setToolTip(QStringLiteral("Die Aufgabenliste für die Hausaufgaben (in beide Richtungen)"));
    EventsCombo = new QComboBox(this);
    EventsCombo->setObjectName(QStringLiteral("SyncEventsCombo"));
    EventsCombo->setToolTip(QStringLiteral("Der Kalender für Ereignisse, Alarme und Ferien (nur vom Planer zum Server)"));
    ApplyButton = new QPushButton(QStringLiteral("Ü&bernehmen"), this);
    ApplyButton->setObjectName(QStringLiteral("SyncApplyButton"));
    ApplyButton->setToolTip(QStringLiteral("Die Einstellungen speichern und gleich abgleichen"));
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("SyncStatusLabel"));
    StatusLabel->setWordWrap(true);

    auto *form = new QFormLayout(this);
    form->addRow(ActiveCheck);
    auto addRow = [&](const QString &text, QWidget *field) {
        auto *label = new QLabel(text, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(QStringLiteral("&Server:"), ServerEdit);
    addRow(QStringLiteral("Ben&utzer:"), UserEdit);
    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(PasswordEdit, 1);
    passwordRow->addWidget(CheckButton);
    auto *passwordLabel = new QLabel(QStringLiteral("Pass&wort:"), this);
    passwordLabel->setBuddy(PasswordEdit);
    form->addRow(passwordLabel, passwordRow);
    addRow(QStringLiteral("&Hausaufgaben:"), TasksCombo);
    addRow(QStringLiteral("&Termine:"), EventsCombo);
    auto *applyRow = new QHBoxLayout;
    applyRow->addWidget(StatusLabel, 1);
    applyRow->addWidget(ApplyButton, 0, Qt::AlignTop);
    form->addRow(applyRow);

    using ErrorReporter::handler;
    connect(CheckButton, &QPushButton::clicked, this, handler(this, &SyncGroup::CheckButtonClick));
    connect(ApplyButton, &QPushButton::clicked, this, handler(this, &SyncGroup::ApplyButtonClick));
}

void SyncGroup::load()
{
    const SyncSettings::Options stored = SyncSettings::load();
    ActiveCheck->setChecked(stored.active);
    ServerEdit->setText(stored.server);
    UserEdit->setText(stored.user);
    PasswordEdit->clear();
    fillChoice(TasksCombo, kNewTasks, stored.tasks, true);
    fillChoice(EventsCombo, kNewEvents, stored.events, false);
    const SyncState state = SyncState::load();
    showStatus(SyncCommand::statusText(state.lastSync, state.skipped));
}

void SyncGroup::showStatus(const QString &status)
{
    StatusLabel->setText(status);
}

void SyncGroup::fillChoice(QComboBox *combo, const QString &newName, const QString &stored, bool todos)
{
    combo->clear();
    combo->addItem(QStringLiteral("(nicht abgleichen)"), QString());
    combo->addItem(QStringLiteral("Neu anlegen: „%1“").arg(newName), NewItem);
    for (const Found &found : std::as_const(m_found)) {
        if (todos ? found.todos : found.events) {
            const QString kinds = found.todos && found.events ? QStringLiteral("Aufgaben und Termine")
                                  : found.todos              ? QStringLiteral("Aufgaben")
                                                             : QStringLiteral("Termine");
            combo->addItem(QStringLiteral("%1 (%2)").arg(found.name, kinds), found.url);
        }
    }
    if (!stored.isEmpty() && combo->findData(stored) < 0)
        combo->addItem(stored, stored);
    combo->setCurrentIndex(std::max(0, combo->findData(stored.isEmpty() ? QVariant(QString()) : QVariant(stored))));
}

void SyncGroup::CheckButtonClick()
{
    showStatus(QStringLiteral("Verbindung wird geprüft ..."));
    // The window stays usable while the server answers; a second click must wait.
    CheckButton->setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { CheckButton->setEnabled(true); });
    if (!PasswordEdit->text().isEmpty())
        SyncPassword::store(ServerEdit->text(), UserEdit->text(), PasswordEdit->text());
    const QString password = SyncPassword::read(ServerEdit->text(), UserEdit->text()).value_or(QString());
    try {
        CalDavClient client({ServerEdit->text(), UserEdit->text(), password});
        m_home = client.discoverHome();
        m_found.clear();
        for (const CalDavClient::Collection &c : client.listCollections(m_home))
            m_found.append({c.url.toString(), c.name, c.todos, c.events});
    } catch (const CalDavError &error) {
        showStatus(error.message());
        throw;
    }
    const SyncSettings::Options stored = SyncSettings::load();
    fillChoice(TasksCombo, kNewTasks, TasksCombo->currentData().toString().isEmpty() ? stored.tasks : TasksCombo->currentData().toString(), true);
    fillChoice(EventsCombo, kNewEvents, EventsCombo->currentData().toString().isEmpty() ? stored.events : EventsCombo->currentData().toString(), false);
    showStatus(QStringLiteral("Verbindung in Ordnung: %1 Kalender gefunden.").arg(m_found.size()));
}

QString SyncGroup::chosen(QComboBox *combo, const QString &segment, const QString &name, bool todos)
{
    if (combo->currentData() != QVariant(NewItem))
        return combo->currentData().toString();
    const QString password = SyncPassword::read(ServerEdit->text(), UserEdit->text()).value_or(QString());
    CalDavClient client({ServerEdit->text(), UserEdit->text(), password});
    if (!m_home.isValid())
        m_home = client.discoverHome();
    const QString url = client.makeCalendar(m_home, segment, name, todos).toString();
    m_found.append({url, name, todos, !todos});
    return url;
}

void SyncGroup::ApplyButtonClick()
{
    ApplyButton->setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { ApplyButton->setEnabled(true); });
    if (!PasswordEdit->text().isEmpty())
        SyncPassword::store(ServerEdit->text(), UserEdit->text(), PasswordEdit->text());
    SyncSettings::Options options{ActiveCheck->isChecked(), ServerEdit->text().trimmed(), UserEdit->text().trimmed(), QString(), QString()};
    if (!options.server.isEmpty())
        CalDavClient::serverUrl(options.server); // a wrong address is told before anything is stored
    options.tasks = chosen(TasksCombo, QStringLiteral("kalmora-hausaufgaben"), kNewTasks, true);
    options.events = chosen(EventsCombo, QStringLiteral("kalmora-termine"), kNewEvents, false);
    SyncSettings::save(options);
    fillChoice(TasksCombo, kNewTasks, options.tasks, true);
    fillChoice(EventsCombo, kNewEvents, options.events, false);
    Q_EMIT optionsSaved(options);
}
