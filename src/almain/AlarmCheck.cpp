// The start-up announcement of due alarms.
#include "AlarmCheck.h"

#include "model/AlarmStore.h"
#include "platform/ErrorReporter.h"
#include "platform/Prompt.h"
#include "platform/WavePlayer.h"

namespace {
// Ends the alarm's sound however its question ends, also by a failure.
struct SoundPlaying final
{
    explicit SoundPlaying(const QString &sound)
    {
        OpenWAVE(sound);
        PlayWAVE();
    }
    ~SoundPlaying() { CloseWAVE(); }
    SoundPlaying(const SoundPlaying &) = delete;
    SoundPlaying &operator=(const SoundPlaying &) = delete;
};

void announce(QWidget *parent, const AlarmStore::DueAlarm &alarm)
{
    const SoundPlaying playing(alarm.sound);
    const Prompt::Button answer = Prompt::ask(parent, {QStringLiteral("Alarm"), AlarmStore::questionText(alarm.message),
                                                       QMessageBox::Information, QMessageBox::Yes | QMessageBox::No,
                                                       QMessageBox::No});
    // Only this alarm goes; the others keep their entries, also those with an empty message.
    if (answer == QMessageBox::Yes)
        AlarmStore::deleteAlarm(alarm.key);
}
}

void AlarmCheck::CheckAlarms(QWidget *parent)
{
    ErrorReporter::guarded([parent] {
        for (const AlarmStore::DueAlarm &alarm : AlarmStore::dueAlarms())
            announce(parent, alarm);
    });
}
