// The start-up announcement of the alarms whose date has come.
#pragma once

class QWidget;

class AlarmCheck final
{
public:
    /// Announces every alarm dated today or earlier, in the order they are
    /// stored: plays its sound and asks whether it shall now be deleted,
    /// deleting it on Yes. Alarms of later dates and keys that are no dates
    /// are left alone. A failure ends the check with its message, so that the
    /// start-up goes on.
    static void CheckAlarms(QWidget *parent);
};
