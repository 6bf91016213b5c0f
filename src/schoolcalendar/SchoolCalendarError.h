// A subscription that cannot be read or fetched, with the German text the pupil sees.
#pragma once

#include "platform/Errors.h"

class SchoolCalendarError final : public KalmoraError
{
public:
    using KalmoraError::KalmoraError;
};
