// The question at the first start after the summer holidays: fill in the next school year's holidays?
#include "NextSchoolYearOffer.h"

#include "NextSchoolYear.h"
#include "model/HolidayStore.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

void NextSchoolYearOffer::run(QWidget *parent)
{
    const SchoolYearSettings::Values settings = SchoolYearSettings::load();
    if (settings.state.isEmpty())
        return;
    const SchoolHolidayTable table = SchoolHolidayTable::load();
    const SchoolHolidayTable::SchoolYear *next = NextSchoolYear::due(table, settings, Clock::today());
    if (!next)
        return;
    // Noted before asking, so that a declined or failed offer is not repeated at every start.
    SchoolYearSettings::setOffered(next->year);
    const Prompt::Button answer = Prompt::ask(
        parent, {QStringLiteral("Neues Schuljahr"),
                 QStringLiteral("Die Sommerferien sind vorbei. Sollen die Ferien des Schuljahres %1 für %2 eingetragen werden?")
                     .arg(next->year, next->state),
                 QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes});
    if (answer != QMessageBox::Yes)
        return;
    QStringList texts = HolidayStore::LoadHolidays();
    const auto loaded = SchoolHolidayTable::fieldTexts(*next);
    for (size_t i = 0; i < loaded.size(); ++i) {
        if (loaded[i])
            texts[int(i)] = *loaded[i];
    }
    HolidayStore::SaveHolidays(texts);
    SchoolYearSettings::remember(next->state, next->year);
}
