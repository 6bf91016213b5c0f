// The print dialog before a printout; tests answer it in advance.
#include "PrintDialog.h"

#include "TXPrint.h"

#include <QPrintDialog>
#include <QPrinterInfo>
#include <QQueue>

namespace {
struct DialogState
{
    QQueue<bool> answers;
    int asked = 0;
};

DialogState &state()
{
    static DialogState s;
    return s;
}
}

bool PrintDialog::execute(QWidget *parent, TXPrint &print)
{
    DialogState &s = state();
    ++s.asked;
    if (!s.answers.isEmpty())
        return s.answers.dequeue();
    if (QPrinterInfo::availablePrinters().isEmpty())
        return true;
    QPrintDialog dialog(&print.printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    print.adoptPrinterChoice();
    return true;
}

void PrintDialog::queueAnswers(const QList<bool> &answers)
{
    for (bool answer : answers)
        state().answers.enqueue(answer);
}

int PrintDialog::takeAskedCount()
{
    return std::exchange(state().asked, 0);
}
