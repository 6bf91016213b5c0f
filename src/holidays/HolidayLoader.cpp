// The button "Ferien laden ..." of the "Ferien" tab: fills the tab's fields from the holiday table.
#include "HolidayLoader.h"

#include "HolidayLoadDialog.h"
#include "SchoolYearSettings.h"
#include "model/HolidayStore.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"

#include <QLineEdit>
#include <QPushButton>

QPushButton *HolidayLoader::install(QWidget *page, QPushButton *applyButton, const std::array<QLineEdit *, 12> &fields)
{
    auto *button = new QPushButton(QStringLiteral("&Ferien laden ..."), page);
    button->setObjectName(QStringLiteral("HolidayLoadButton"));
    button->setToolTip(QStringLiteral("Die Ferien eines Bundeslandes für ein Schuljahr in die Felder eintragen"));
    QWidget::setTabOrder(button, applyButton); // in the keyboard order where it stands, before "Übernehmen"
    auto *loader = new HolidayLoader(button, fields);
    connect(button, &QPushButton::clicked, loader, ErrorReporter::handler(loader, &HolidayLoader::LoadButtonClick));
    // After the tab's own handler, which stores the fields.
    connect(applyButton, &QPushButton::clicked, loader, ErrorReporter::handler(loader, &HolidayLoader::RememberIfStored));
    return button;
}

HolidayLoader::HolidayLoader(QPushButton *button, const std::array<QLineEdit *, 12> &fields)
    : QObject(button)
    , m_button(button)
    , m_fields(fields)
{
}

void HolidayLoader::LoadButtonClick()
{
    SchoolHolidayTable table = SchoolHolidayTable::load();
    const QString remembered = m_pending ? m_pending->state : SchoolYearSettings::load().state;
    auto *dialog = new HolidayLoadDialog(std::move(table), remembered, SchoolHolidayTable::schoolYearOf(Clock::today()),
                                         m_button->window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        if (const SchoolHolidayTable::SchoolYear *year = dialog->chosen())
            Fill(*year);
    });
    dialog->open();
}

void HolidayLoader::Fill(const SchoolHolidayTable::SchoolYear &year)
{
    Pending pending{year.state, year.year, SchoolHolidayTable::fieldTexts(year)};
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (pending.texts[i])
            m_fields[i]->setText(*pending.texts[i]);
    }
    m_pending = std::move(pending);
}

void HolidayLoader::RememberIfStored()
{
    if (!m_pending)
        return;
    // Remembered only when the stored texts are the loaded ones: typed changes
    // after loading, or a failed save, leave the state and year unremembered.
    const QStringList stored = HolidayStore::LoadHolidays();
    for (size_t i = 0; i < m_pending->texts.size(); ++i) {
        if (m_pending->texts[i] && stored.value(int(i)) != *m_pending->texts[i])
            return;
    }
    SchoolYearSettings::remember(m_pending->state, m_pending->year);
    m_pending.reset();
}
