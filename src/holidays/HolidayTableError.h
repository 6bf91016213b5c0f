// A holiday table that is missing or cannot be read.
#pragma once

#include "platform/Errors.h"

class HolidayTableError final : public KalmoraError
{
public:
    using KalmoraError::KalmoraError;
    /// "Ferientabelle <path>, Zeile <line>: <problem>".
    static HolidayTableError atLine(const QString &path, int line, const QString &problem);
};
