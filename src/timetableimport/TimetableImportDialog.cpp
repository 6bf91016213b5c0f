// The dialog "Stundenplan übernehmen": subscription, bell times and short forms, the new and the current timetable.
#include "TimetableImportDialog.h"

#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/ErrorReporter.h"
#include "schoolcalendar/SchoolCalendar.h"
#include "schoolcalendar/SchoolCalendarError.h"
#include "schoolcalendar/SchoolFeed.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kLessons = TimetableImportSettings::MostBellTimes;

const QString kNoSubscription = QStringLiteral(
    "Es ist noch kein Schulkalender abonniert. Fügen Sie den Stundenplan-Link Ihrer Schule im Fenster "
    "„Einstellungen“ auf dem Reiter „Extras“ in der Gruppe „Schulkalender“ mit „Hinzufügen“ hinzu "
    "(in WebUntis: Profil, „Freigaben“, „Zugriff über iCal“) und öffnen Sie diesen Dialog dann erneut.");

QLabel *heading(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setBuddy(buddy);
    return label;
}

void fillTimetable(QTableWidget *table, const TimetableGrid &grid)
{
    for (int c = 1; c <= 5; ++c) {
        for (int r = 1; r <= kLessons; ++r) {
            table->item(r - 1, c - 1)->setText(grid.at(c, r));
            table->item(r - 1, c - 1)->setToolTip(grid.at(c, r));
        }
    }
}

/// Ten rows in view at once, none taller than its text needs.
void fitRows(QTableWidget *table)
{
    const int rowHeight = table->fontMetrics().height() + 6;
    table->verticalHeader()->setMinimumSectionSize(rowHeight);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setFixedHeight(table->horizontalHeader()->sizeHint().height() + kLessons * rowHeight + 2 * table->frameWidth());
}

}

TimetableImportDialog::TimetableImportDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TimetableImportDialog"));
    setWindowTitle(QStringLiteral("Stundenplan übernehmen"));
    m_subscriptions = SchoolCalendarSettings::load();
    m_settings = TimetableImportSettings::read();
    SettingsFile::read([&](const ProfileFile &ini) {
        m_currentWeeks = SchoolWeeks::read(ini);
        m_holidays = HolidayStore::holidays(ini);
    });
    TimetableStore::LoadTimetable(m_currentA, Week::A);
    TimetableStore::LoadTimetable(m_currentB, Week::B);
    setupUi();
    SubscriptionComboChange();
}

QTableWidget *TimetableImportDialog::timetableTable(const char *name)
{
    auto *table = new QTableWidget(kLessons, 5, this);
    table->setObjectName(QLatin1String(name));
    fitRows(table);
    // A usual subject name shows whole; a longer one in the cell's tool tip.
    const int dayWidth = table->fontMetrics().horizontalAdvance(QStringLiteral("Mathematik")) + 14;
    table->setHorizontalHeaderLabels({QStringLiteral("Mo"), QStringLiteral("Di"), QStringLiteral("Mi"), QStringLiteral("Do"),
                                      QStringLiteral("Fr")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < kLessons; ++r) {
        for (int c = 0; c < 5; ++c)
            table->setItem(r, c, new QTableWidgetItem);
    }
    for (int c = 0; c < 5; ++c)
        table->setColumnWidth(c, dayWidth);
    table->setFixedWidth(table->verticalHeader()->sizeHint().width() + 5 * dayWidth + 2 * table->frameWidth());
    return table;
}

void TimetableImportDialog::setupUi()
{
    SubscriptionCombo = new QComboBox(this);
    SubscriptionCombo->setObjectName(QStringLiteral("SubscriptionCombo"));
    SubscriptionCombo->setToolTip(QStringLiteral("Der Schulkalender, aus dem der Stundenplan gelesen wird"));
    for (const SchoolCalendarSettings::Subscription &subscription : m_subscriptions)
        SubscriptionCombo->addItem(subscription.name);
    NoSubscriptionLabel = new QLabel(kNoSubscription, this);
    NoSubscriptionLabel->setObjectName(QStringLiteral("NoSubscriptionLabel"));
    NoSubscriptionLabel->setWordWrap(true);
    NoSubscriptionLabel->setVisible(m_subscriptions.isEmpty());

    BellTimeTable = new QTableWidget(kLessons, 1, this);
    BellTimeTable->setObjectName(QStringLiteral("BellTimeTable"));
    BellTimeTable->setHorizontalHeaderLabels({QStringLiteral("Beginn")});
    BellTimeTable->setToolTip(QStringLiteral("Die Anfangszeiten der Stunden (hh:mm); die Stunden des Kalenders "
                                             "werden danach nummeriert. Zum Berichtigen doppelklicken."));
    fitRows(BellTimeTable);
    BellTimeTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BellTimeTable->setColumnWidth(0, 64);
    BellTimeTable->setFixedWidth(BellTimeTable->verticalHeader()->sizeHint().width() + 64 + 2 * BellTimeTable->frameWidth());
    for (int r = 0; r < kLessons; ++r)
        BellTimeTable->setItem(r, 0, new QTableWidgetItem);

    SubjectNameTable = new QTableWidget(0, 2, this);
    SubjectNameTable->setObjectName(QStringLiteral("SubjectNameTable"));
    SubjectNameTable->setHorizontalHeaderLabels({QStringLiteral("Im Kalender"), QStringLiteral("Fach")});
    SubjectNameTable->verticalHeader()->hide();
    SubjectNameTable->horizontalHeader()->setStretchLastSection(true);
    SubjectNameTable->setColumnWidth(0, 80);
    SubjectNameTable->setFixedWidth(200);
    fitRows(SubjectNameTable);
    SubjectNameTable->setToolTip(QStringLiteral("Ein Kürzel wie „M“ bekommt hier seinen Fachnamen („Mathematik“); "
                                                "der Name wird gemerkt. Zum Ändern doppelklicken."));

    NewTimetable = timetableTable("NewTimetable");
    CurrentTimetable = timetableTable("CurrentTimetable");
    WeekCombo = new QComboBox(this);
    WeekCombo->setObjectName(QStringLiteral("WeekCombo"));
    WeekCombo->addItems({QStringLiteral("A-Woche"), QStringLiteral("B-Woche")});
    WeekCombo->setToolTip(QStringLiteral("Welche Woche die beiden Stundenpläne zeigen"));
    WeeksLabel = new QLabel(this);
    WeeksLabel->setObjectName(QStringLiteral("WeeksLabel"));
    WeeksLabel->setWordWrap(true);
    WarningLabel = new QLabel(this);
    WarningLabel->setObjectName(QStringLiteral("WarningLabel"));
    WarningLabel->setWordWrap(true);
    WarningLabel->setStyleSheet(QStringLiteral("color: #a00000;"));

    ApplyButton = new QPushButton(QStringLiteral("&Übernehmen"), this);
    ApplyButton->setObjectName(QStringLiteral("ApplyButton"));
    ApplyButton->setToolTip(QStringLiteral("Den neuen Stundenplan speichern; er ersetzt den bisherigen"));
    ApplyButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("&Abbrechen"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setToolTip(QStringLiteral("Nichts ändern"));

    auto *source = new QHBoxLayout;
    source->addWidget(heading(QStringLiteral("&Schulkalender:"), SubscriptionCombo));
    source->addWidget(SubscriptionCombo, 1);
    source->addSpacing(24);
    source->addWidget(heading(QStringLiteral("&Woche:"), WeekCombo));
    source->addWidget(WeekCombo);
    auto *grid = new QGridLayout;
    grid->addWidget(heading(QStringLiteral("Anfangs&zeiten"), BellTimeTable), 0, 0);
    grid->addWidget(heading(QStringLiteral("&Kürzel"), SubjectNameTable), 0, 1);
    grid->addWidget(heading(QStringLiteral("&Neuer Stundenplan"), NewTimetable), 0, 2);
    grid->addWidget(heading(QStringLiteral("&Bisheriger Stundenplan"), CurrentTimetable), 0, 3);
    grid->addWidget(BellTimeTable, 1, 0);
    grid->addWidget(SubjectNameTable, 1, 1);
    grid->addWidget(NewTimetable, 1, 2);
    grid->addWidget(CurrentTimetable, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ApplyButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(source);
    layout->addWidget(NoSubscriptionLabel);
    layout->addLayout(grid);
    layout->addWidget(WeeksLabel);
    layout->addWidget(WarningLabel);
    layout->addLayout(buttons);

    connect(SubscriptionCombo, &QComboBox::currentIndexChanged, this, ErrorReporter::handler(this, &TimetableImportDialog::SubscriptionComboChange));
    connect(WeekCombo, &QComboBox::currentIndexChanged, this, ErrorReporter::handler(this, &TimetableImportDialog::ShowProposal));
    connect(BellTimeTable, &QTableWidget::itemChanged, this, ErrorReporter::handler(this, &TimetableImportDialog::ReadTables));
    connect(SubjectNameTable, &QTableWidget::itemChanged, this, ErrorReporter::handler(this, &TimetableImportDialog::ReadTables));
    connect(ApplyButton, &QPushButton::clicked, this, ErrorReporter::handler(this, &TimetableImportDialog::ApplyButtonClick));
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TimetableImportDialog::SubscriptionComboChange()
{
    m_lessons.clear();
    m_problem.clear();
    const int chosen = SubscriptionCombo->currentIndex();
    if (chosen >= 0 && chosen < m_subscriptions.size()) {
        const SchoolCalendarSettings::Subscription &subscription = m_subscriptions[chosen];
        const SchoolCalendar::Copy copy = SchoolCalendar::readCopy(subscription.address);
        if (!copy.exists()) {
            m_problem = QStringLiteral("Von „%1“ ist noch nichts abgerufen. Rufen Sie den Kalender auf dem Reiter „Extras“ "
                                     "mit „Jetzt aktualisieren“ ab.").arg(subscription.name);
        } else {
            try {
                const QDate today = Clock::today();
                SchoolFeed::Reading reading = SchoolFeed::read(copy.feed, TimetableImport::firstMonday(today),
                                                               TimetableImport::lastDay(today), subscription.name);
                m_lessons = std::move(reading.dates);
                m_problem = reading.warning;
            } catch (const SchoolCalendarError &error) {
                m_problem = subscription.name + QStringLiteral(": ") + error.message();
            }
        }
    }
    // The remembered bell times, or else those of the feed.
    const QList<QTime> times = m_settings.bellTimes.isEmpty() ? TimetableImport::startTimes(m_lessons, Clock::today())
                                                              : m_settings.bellTimes;
    m_filling = true;
    for (int r = 0; r < kLessons; ++r)
        BellTimeTable->item(r, 0)->setText(r < times.size() ? times[r].toString(QStringLiteral("HH:mm")) : QString());
    m_filling = false;
    ReadTables();
}

void TimetableImportDialog::ReadTables()
{
    if (m_filling)
        return;
    QList<QTime> times;
    for (int r = 0; r < kLessons; ++r) {
        QTableWidgetItem *cell = BellTimeTable->item(r, 0);
        const std::optional<QTime> time = DateText::tryParseTime(cell->text().trimmed());
        if (time && !times.contains(*time))
            times.append(QTime(time->hour(), time->minute()));
        m_filling = true;
        cell->setForeground(time || cell->text().trimmed().isEmpty() ? palette().text() : QBrush(Qt::red));
        m_filling = false;
    }
    std::sort(times.begin(), times.end());
    m_settings.bellTimes = times;
    for (int r = 0; r < SubjectNameTable->rowCount(); ++r) {
        const QString summary = SubjectNameTable->item(r, 0)->text();
        const QString name = SubjectNameTable->item(r, 1)->text().trimmed();
        if (name.isEmpty() || name == summary)
            m_settings.subjectNames.remove(summary);
        else
            m_settings.subjectNames.insert(summary, name);
    }
    m_proposal = TimetableImport::propose(m_lessons, Clock::today(), m_holidays, m_currentWeeks, m_settings);
    // The short forms of the feed, each with its name.
    QStringList listed;
    for (int r = 0; r < SubjectNameTable->rowCount(); ++r)
        listed.append(SubjectNameTable->item(r, 0)->text());
    if (listed != m_proposal.summaries) {
        m_filling = true;
        SubjectNameTable->setRowCount(int(m_proposal.summaries.size()));
        for (int r = 0; r < SubjectNameTable->rowCount(); ++r) {
            const QString summary = m_proposal.summaries[r];
            auto *shortForm = new QTableWidgetItem(summary);
            shortForm->setFlags(Qt::ItemIsEnabled);
            SubjectNameTable->setItem(r, 0, shortForm);
            SubjectNameTable->setItem(r, 1, new QTableWidgetItem(TimetableImportSettings::subjectOf(m_settings, summary)));
        }
        m_filling = false;
    }
    ShowProposal();
}

void TimetableImportDialog::ShowProposal()
{
    const bool weekB = WeekCombo->currentIndex() == 1;
    fillTimetable(NewTimetable, weekB ? m_proposal.weekB : m_proposal.weekA);
    fillTimetable(CurrentTimetable, weekB && m_currentWeeks.on ? m_currentB : m_currentA);
    WeekCombo->setEnabled(m_proposal.alternating || m_currentWeeks.on);
    QStringList mondays;
    for (const QDate &monday : m_proposal.mondays)
        mondays.append(DateText::formatShort(monday));
    QString text;
    if (!m_proposal.isEmpty())
        text = QStringLiteral("Gelesen: die Wochen ab %1.").arg(mondays.join(QStringLiteral(", ")));
    if (m_proposal.alternating)
        text += QStringLiteral(" Die geraden und ungeraden Wochen unterscheiden sich: A/B-Wochen werden eingeschaltet, "
                               "die Woche ab %1 ist eine A-Woche.")
                    .arg(DateText::formatShort(m_proposal.weeks.reference));
    WeeksLabel->setText(text.trimmed());
    const QString warning = m_problem.isEmpty() ? m_proposal.warning : m_problem;
    WarningLabel->setText(warning);
    WarningLabel->setVisible(!warning.isEmpty());
    ApplyButton->setEnabled(!m_proposal.isEmpty());
}

void TimetableImportDialog::ApplyButtonClick()
{
    if (m_proposal.isEmpty())
        return;
    SettingsFile::use([this](ProfileFile &ini) { TimetableImport::apply(ini, m_proposal, m_settings); });
    accept();
}
