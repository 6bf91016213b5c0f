// The print component's settings: the part the main window holds from the start.
#include "TXPrint.h"

#include "TXPrintState.h"

#include <QPainter>

ProgramPrinterState &programPrinter()
{
    static ProgramPrinterState printer;
    return printer;
}

QList<PrintCommand> *&printRecorder()
{
    static QList<PrintCommand> *list = nullptr;
    return list;
}

void (*&openJobAbort())(TXPrint &)
{
    static void (*abort)(TXPrint &) = nullptr;
    return abort;
}

TXPrint::TXPrint(QObject *owner)
    : QObject(owner)
{
}

TXPrint::~TXPrint()
{
    // A painter is only made by a job begun in the module, which left its abort here.
    if (m_painter && openJobAbort())
        openJobAbort()(*this);
}

QString TXPrint::Title() const
{
    return programPrinter().title;
}

void TXPrint::setTitle(const QString &title)
{
    programPrinter().title = title;
}

int TXPrint::CurrentPrinter() const
{
    return m_currentPrinter;
}

void TXPrint::setCurrentPrinter(int index)
{
    m_currentPrinter = index;
    programPrinter().pendingIndex = index;
}

void TXPrint::setRecorder(QList<PrintCommand> *list)
{
    printRecorder() = list;
}

