// Today and now, replaceable for tests and for trying a chosen moment.
#pragma once

#include <QDateTime>

class Clock final
{
public:
    static QDateTime now();
    static QDate today() { return now().date(); }

    /// Fixes the clock at `moment`; with `running` it goes on from there in real time.
    static void setNow(const QDateTime &moment, bool running = false);
    /// Back to the system clock.
    static void reset();
    /// Applies KALMORA_NOW (ISO 8601, e.g. 2026-12-07T09:00:00) as a running clock.
    /// Returns false when the variable is set but cannot be read.
    static bool initFromEnvironment();
};
