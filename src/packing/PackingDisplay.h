// Where the evening reminder appears: the desktop's notifications, or what stands in for them.
#pragma once

#include <QString>

class PackingDisplay
{
public:
    virtual ~PackingDisplay() = default;
    /// Shows one reminder; returns at once, without waiting for the pupil.
    virtual void showReminder(const QString &summary, const QString &body) = 0;
};
