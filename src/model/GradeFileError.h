// A line of the grade file "NOTEN.DAT" that does not fit into the grade tree.
#pragma once

#include "platform/Errors.h"

/// Ends the reading of "NOTEN.DAT"; the nodes read before the line stay.
class GradeFileError final : public KalmoraError
{
public:
    using KalmoraError::KalmoraError;
};
