// A print job that the printer refused or that broke off.
#pragma once

#include "platform/Errors.h"

class EPrinterError final : public KalmoraError
{
public:
    using KalmoraError::KalmoraError;
};
