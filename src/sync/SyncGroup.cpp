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
    fillChoice(TasksCombo, kNewTasks, stored.tasks, true, false);
    fillChoice(EventsCombo, kNewEvents, stored.events, false, false);
    const SyncState state = SyncState::load();
    showStatus(SyncCommand::statusText(state.lastSync, state.skipped, stored));
}

void SyncGroup::showStatus(const QString &status)
{
    StatusLabel->setText(status);
}

void SyncGroup::fillChoice(QComboBox *combo, const QString &newName, const QString &stored, bool todos, bool newWhenNone)
{
    combo->clear();
    combo->addItem(QStringLiteral("(nicht abgleichen)"), QString());
    combo->addItem(QStringLiteral("Neu anlegen: „%1“").arg(newName), NewItem);
    bool found = false;
    for (const Found &f : std::as_const(m_found)) {
        if (todos ? f.todos : f.events) {
            const QString kinds = f.todos && f.events ? QStringLiteral("Aufgaben und Termine")
                                  : f.todos           ? QStringLiteral("Aufgaben")
                                                      : QStringLiteral("Termine");
            combo->addItem(QStringLiteral("%1 (%2)").arg(f.name, kinds), f.url);
            found = true;
        }
    }
    if (!stored.isEmpty() && combo->findData(stored) < 0)
        combo->addItem(stored, stored);
    if (stored.isEmpty() && newWhenNone && !found)
        combo->setCurrentIndex(1); // the account has none: the new one is what a new user wants
    else
        combo->setCurrentIndex(std::max(0, combo->findData(stored.isEmpty() ? QVariant(QString()) : QVariant(stored))));
}

void SyncGroup::setBusy(bool busy)
{
    CheckButton->setEnabled(!busy);
    ApplyButton->setEnabled(!busy);
}

void SyncGroup::withAccount(const std::function<void(const CalDavClient::Account &account)> &next)
{
    // The password as typed goes to the secret service; the one kept is used.
    if (!PasswordEdit->text().isEmpty())
        SyncPassword::store(ServerEdit->text(), UserEdit->text(), PasswordEdit->text());
    const CalDavClient::Account account{ServerEdit->text(), UserEdit->text(), QString()};
    SyncPassword::fetch(account.server, account.user, this, [account, next](const std::optional<QString> &password) {
        next({account.server, account.user, password.value_or(QString())});
    });
}

void SyncGroup::runOnServer(SyncThread::Work work, std::function<void()> done)
{
    // The server is asked on a thread of its own: the window stays usable, a second click waits.
    setBusy(true);
    if (!m_thread)
        m_thread = new SyncThread(this);
    disconnect(m_thread, &SyncThread::finished, this, nullptr);
    connect(m_thread, &SyncThread::finished, this, [this, done = std::move(done)](const QString &failure) {
        setBusy(false);
        if (!failure.isEmpty()) {
            showStatus(failure);
            ErrorReporter::report(CalDavError(failure));
            return;
        }
        done();
    });
    m_thread->start(std::move(work));
}

void SyncGroup::CheckButtonClick()
{
    showStatus(QStringLiteral("Verbindung wird geprüft ..."));
    setBusy(true);
    withAccount([this](const CalDavClient::Account &account) {
        auto answer = std::make_shared<std::pair<QUrl, QList<Found>>>();
        runOnServer(
            [account, answer](SyncThread &thread) {
                CalDavClient client(account);
                client.setCancel(&thread.cancelled());
                answer->first = client.discoverHome();
                for (const CalDavClient::Collection &c : client.listCollections(answer->first))
                    answer->second.append({c.url.toString(), c.name, c.todos, c.events});
            },
            [this, answer] {
                m_home = answer->first;
                m_found = answer->second;
                const SyncSettings::Options stored = SyncSettings::load();
                const QString tasks = TasksCombo->currentData().toString();
                const QString events = EventsCombo->currentData().toString();
                fillChoice(TasksCombo, kNewTasks, tasks.isEmpty() ? stored.tasks : tasks, true, true);
                fillChoice(EventsCombo, kNewEvents, events.isEmpty() ? stored.events : events, false, true);
                showStatus(QStringLiteral("Verbindung in Ordnung: %1 Kalender gefunden.").arg(m_found.size()));
            });
    });
}

void SyncGroup::ApplyButtonClick()
{
    SyncSettings::Options options{ActiveCheck->isChecked(), ServerEdit->text().trimmed(), UserEdit->text().trimmed(), QString(), QString()};
    if (!options.server.isEmpty())
        CalDavClient::serverUrl(options.server); // a wrong address is told before anything is stored
    const bool newTasks = TasksCombo->currentData() == QVariant(NewItem);
    const bool newEvents = EventsCombo->currentData() == QVariant(NewItem);
    options.tasks = newTasks ? QString() : TasksCombo->currentData().toString();
    options.events = newEvents ? QString() : EventsCombo->currentData().toString();
    if (!newTasks && !newEvents) {
        if (!PasswordEdit->text().isEmpty())
            SyncPassword::store(ServerEdit->text(), UserEdit->text(), PasswordEdit->text());
        saveOptions(options);
        return;
    }
    setBusy(true);
    withAccount([this, options, newTasks, newEvents](const CalDavClient::Account &account) {
        // The new calendars are made on the server first.
        auto made = std::make_shared<std::pair<QUrl, SyncSettings::Options>>(m_home, options);
        runOnServer(
            [account, made, newTasks, newEvents](SyncThread &thread) {
                CalDavClient client(account);
                client.setCancel(&thread.cancelled());
                if (!made->first.isValid())
                    made->first = client.discoverHome();
                if (newTasks)
                    made->second.tasks = client.makeCalendar(made->first, QStringLiteral("kalmora-hausaufgaben"), kNewTasks, true).toString();
                if (newEvents)
                    made->second.events = client.makeCalendar(made->first, QStringLiteral("kalmora-termine"), kNewEvents, false).toString();
            },
            [this, made, newTasks, newEvents] {
                m_home = made->first;
                if (newTasks)
                    m_found.append({made->second.tasks, kNewTasks, true, false});
                if (newEvents)
                    m_found.append({made->second.events, kNewEvents, false, true});
                ErrorReporter::guarded([&] { saveOptions(made->second); });
            });
    });
}

void SyncGroup::saveOptions(const SyncSettings::Options &options)
{
    SyncSettings::save(options);
    fillChoice(TasksCombo, kNewTasks, options.tasks, true, false);
    fillChoice(EventsCombo, kNewEvents, options.events, false, false);
    const SyncState state = SyncState::load();
    showStatus(SyncCommand::statusText(state.lastSync, state.skipped, options));
    Q_EMIT optionsSaved(options);
}
