// What every print component of the program shares: the job name, the printer, the test recorder.
#pragma once

#include "PrintCommand.h"

#include <QList>
#include <QString>

#include <optional>

class TXPrint;

struct ProgramPrinterState
{
    QString title;
    /// A printer chosen by its place in the system's list, looked up when first needed.
    std::optional<int> pendingIndex;
    QString name;
};

ProgramPrinterState &programPrinter();
/// Tests: where every call of every component is appended while it is set.
QList<PrintCommand> *&printRecorder();
/// Set by the first job: how a component destroyed in the middle of a job aborts it.
void (*&openJobAbort())(TXPrint &);
