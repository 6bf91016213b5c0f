// The group "Schulkalender": each change is stored at once and fetched, as in the other groups of the tab.
#include "SchoolCalendarGroup.h"

#include "SchoolCalendar.h"
#include "SchoolCalendarService.h"
#include "SchoolCalendarSettings.h"
#include "platform/Counted.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

SchoolCalendarGroup::SchoolCalendarGroup(SchoolCalendarService &service, QWidget *parent)
    : ExtrasGroup(QStringLiteral("Schulkalender"), parent)
    , m_service(service)
{
    setupUi();
}

void SchoolCalendarGroup::setupUi()
{
    setObjectName(QStringLiteral("SchoolCalendarGroup"));
    SubscriptionList = new QListWidget(this);
    SubscriptionList->setObjectName(QStringLiteral("SchoolCalendarList"));
    SubscriptionList->setToolTip(QStringLiteral("Die abonnierten Kalender der Schule; sie werden nur gelesen"));
    SubscriptionList->setMaximumHeight(90);

    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("SchoolCalendarNameEdit"));
    NameEdit->setPlaceholderText(QStringLiteral("z. B. WebUntis"));
    NameEdit->setToolTip(QStringLiteral("Wie der Kalender in den Terminen heißen soll"));
    auto *nameLabel = new QLabel(QStringLiteral("&Name:"), this);
    nameLabel->setBuddy(NameEdit);
    AddressEdit = new QLineEdit(this);
    AddressEdit->setObjectName(QStringLiteral("SchoolCalendarAddressEdit"));
    AddressEdit->setPlaceholderText(QStringLiteral("https://... oder webcal://..."));
    AddressEdit->setToolTip(QStringLiteral("Die iCalendar-Adresse aus WebUntis, Moodle oder IServ (https oder webcal)"));
    auto *addressLabel = new QLabel(QStringLiteral("Adre&sse:"), this);
    addressLabel->setBuddy(AddressEdit);

    AddButton = new QPushButton(QStringLiteral("&Hinzufügen"), this);
    AddButton->setObjectName(QStringLiteral("SchoolCalendarAddButton"));
    AddButton->setToolTip(QStringLiteral("Den Kalender mit Name und Adresse abonnieren und gleich abrufen"));
    RemoveButton = new QPushButton(QStringLiteral("&Entfernen"), this);
    RemoveButton->setObjectName(QStringLiteral("SchoolCalendarRemoveButton"));
    RemoveButton->setToolTip(QStringLiteral("Das gewählte Abonnement beenden; seine Termine verschwinden"));
    RefreshButton = new QPushButton(QStringLiteral("&Jetzt aktualisieren"), this);
    RefreshButton->setObjectName(QStringLiteral("SchoolCalendarRefreshButton"));
    RefreshButton->setToolTip(QStringLiteral("Alle Kalender jetzt abrufen (sonst alle 6 Stunden)"));

    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("SchoolCalendarStatusLabel"));
    StatusLabel->setWordWrap(true);
    StatusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QGridLayout(this);
    layout->addWidget(SubscriptionList, 0, 0, 1, 4);
    layout->addWidget(nameLabel, 1, 0);
    layout->addWidget(NameEdit, 1, 1);
    layout->addWidget(addressLabel, 1, 2);
    layout->addWidget(AddressEdit, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(AddButton);
    buttons->addWidget(RemoveButton);
    buttons->addWidget(RefreshButton);
    buttons->addStretch(1);
    layout->addLayout(buttons, 2, 0, 1, 4);
    layout->addWidget(StatusLabel, 3, 0, 1, 4);
    layout->setColumnStretch(3, 2);
    layout->setColumnStretch(1, 1);

    using ErrorReporter::handler;
    connect(AddButton, &QPushButton::clicked, this, handler(this, &SchoolCalendarGroup::AddButtonClick));
    connect(RemoveButton, &QPushButton::clicked, this, handler(this, &SchoolCalendarGroup::RemoveButtonClick));
    connect(RefreshButton, &QPushButton::clicked, this, handler(this, &SchoolCalendarGroup::RefreshButtonClick));
    connect(&m_service, &SchoolCalendarService::refreshStateChanged, this, [this] { ErrorReporter::guarded([this] { ShowStatus(); }); });
}

void SchoolCalendarGroup::load()
{
    ShowStatus();
}

void SchoolCalendarGroup::AddButtonClick()
{
    const QString address = AddressEdit->text().trimmed();
    SchoolCalendar::fetchAddress(address); // refuses what may not be fetched, with its reason
    QList<SchoolCalendarSettings::Subscription> subscriptions = SchoolCalendarSettings::load();
    for (const SchoolCalendarSettings::Subscription &subscription : subscriptions) {
        if (subscription.address == address)
            throw KalmoraError(QStringLiteral("Dieser Kalender ist schon abonniert."));
    }
    const QString name = NameEdit->text().trimmed();
    subscriptions.append({name.isEmpty() ? QStringLiteral("Schulkalender") : name, address});
    SchoolCalendarSettings::save(subscriptions);
    NameEdit->clear();
    AddressEdit->clear();
    m_service.refresh();
    ShowStatus();
}

void SchoolCalendarGroup::RemoveButtonClick()
{
    const int row = SubscriptionList->currentRow();
    QList<SchoolCalendarSettings::Subscription> subscriptions = SchoolCalendarSettings::load();
    if (row < 0 || row >= subscriptions.size())
        return;
    const SchoolCalendarSettings::Subscription removed = subscriptions.takeAt(row);
    SchoolCalendarSettings::save(subscriptions);
    SchoolCalendar::removeCopy(removed.address);
    m_service.refresh();
    ShowStatus();
}

void SchoolCalendarGroup::RefreshButtonClick()
{
    m_service.refresh();
    ShowStatus();
}

void SchoolCalendarGroup::ShowStatus()
{
    const QList<SchoolCalendarSettings::Subscription> subscriptions = SchoolCalendarSettings::load();
    const int row = SubscriptionList->currentRow();
    SubscriptionList->clear();
    QStringList problems;
    for (const SchoolCalendarSettings::Subscription &subscription : subscriptions) {
        QString state;
        for (const SchoolCalendarFetcher::Status &status : m_service.statuses()) {
            if (status.subscription.address != subscription.address)
                continue;
            if (!status.done)
                state = QStringLiteral("wird abgerufen ...");
            else if (status.ok)
                state = QStringLiteral("abgerufen ") + status.fetchedAt.toString(QStringLiteral("dd.MM. HH:mm"));
            else {
                state = QStringLiteral("Fehler");
                problems.append(subscription.name + QStringLiteral(": ") + status.error
                                + (status.hasCopy ? QStringLiteral(" Die letzte Fassung wird gezeigt.") : QString()));
            }
        }
        auto *item = new QListWidgetItem(subscription.name + QStringLiteral(" – ") + subscription.address
                                         + (state.isEmpty() ? QString() : QStringLiteral("  (") + state + u')'));
        item->setToolTip(subscription.address);
        SubscriptionList->addItem(item);
    }
    if (row >= 0 && row < SubscriptionList->count())
        SubscriptionList->setCurrentRow(row);
    problems.append(m_service.dates().problems);
    RemoveButton->setEnabled(!subscriptions.isEmpty());
    RefreshButton->setEnabled(!subscriptions.isEmpty());
    if (subscriptions.isEmpty())
        StatusLabel->setText(QStringLiteral("Noch kein Kalender abonniert. Die Adresse steht in WebUntis unter "
                                            "„Profil – Freigaben“, in Moodle unter „Kalender – Exportieren“, "
                                            "in IServ unter „Kalender – Abonnieren“."));
    else if (m_service.busy())
        StatusLabel->setText(QStringLiteral("Die Kalender werden abgerufen ..."));
    else
        StatusLabel->setText(problems.isEmpty() ? counted(m_service.dates().dates.size(), "Termin", "Termine") + QStringLiteral(" in den nächsten 8 Wochen.") : problems.join(u'\n'));
}
