// Recurring homework: entering the rules' homework on the next lesson.
#include "RecurringHomework.h"

#include "model/HolidayStore.h"
#include "model/TimetableStore.h"
#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

#include <QSet>

#include <utility>

namespace {
const QString kJoin = QStringLiteral("; ");
// Never a value read from a file: values are single lines of printable text.
const QString kMissing = QString(QChar(0));

// The rules that have a date to handle now, with that date: the subject's
// next lesson after today outside the holidays, not handled yet.
QList<std::pair<RecurringHomework::Rule, QDate>> pendingRules(const ProfileFile &ini, QDate today)
{
    QList<std::pair<RecurringHomework::Rule, QDate>> pending;
    const QList<RecurringHomework::Rule> rules = RecurringRules::rules(ini);
    if (rules.isEmpty())
        return pending;
    const auto holidays = HolidayStore::holidays(ini);
    const SchoolWeeks::Options weeks = SchoolWeeks::read(ini);
    for (const RecurringHomework::Rule &rule : rules) {
        const std::optional<QDate> date = TimetableStore::NextLesson(ini, rule.subject, today, holidays, weeks);
        const std::optional<QDate> handled = RecurringRules::handledDate(ini, rule.number);
        if (date && !(handled && *handled >= *date))
            pending.append({rule, *date});
    }
    return pending;
}
}

int RecurringHomework::apply()
{
    const QDate today = Clock::today();
    // A look first, through the shared read that the start-up's other reads
    // use as well: on most starts every rule has handled its date already.
    if (SettingsFile::read([&](const ProfileFile &ini) { return pendingRules(ini, today).isEmpty(); }))
        return 0;
    int changed = 0;
    HomeworkStore::edit([&](ProfileFile &ini, HomeworkStore::Changes &changes) {
        QSet<QString> enteredNow; // "date\nsubject" of the homework this run entered
        for (const auto &[rule, date] : pendingRules(ini, today)) {
            const QString dueDate = DateText::formatLong(date);
            const QString entered = dueDate + u'\n' + rule.subject;
            const QString existing = HomeworkStore::readText(ini, dueDate, rule.subject, kMissing);
            if (existing == kMissing) {
                // As the entry dialog adds homework, the subject's application included.
                HomeworkStore::addHomework(ini, changes, dueDate, rule.subject, rule.text, true);
                enteredNow.insert(entered);
                ++changed;
            } else if (enteredNow.contains(entered) && !rule.text.isEmpty()) {
                HomeworkStore::writeText(ini, changes, dueDate, rule.subject,
                                         existing.isEmpty() ? rule.text : QString(existing + kJoin + rule.text));
                ++changed;
            }
            // A date already holding the pupil's own homework counts as handled too.
            RecurringRules::setHandled(ini, rule.number, dueDate);
        }
    });
    return changed;
}
