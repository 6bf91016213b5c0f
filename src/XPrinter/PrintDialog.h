// The print dialog before a printout; tests answer it in advance.
#pragma once

#include <QList>

class QWidget;
class TXPrint;

class PrintDialog final
{
public:
    /// Lets the pupil choose the printer for the jobs of `print`; true when
    /// confirmed. Without any installed printer there is nothing to choose:
    /// it confirms unseen, and the jobs are written as PDF files.
    static bool execute(QWidget *parent, TXPrint &print);

    /// Tests: the next dialogs are answered with these values instead of being shown.
    static void queueAnswers(const QList<bool> &answers);
    /// How often a dialog was asked for since the last call.
    static int takeAskedCount();
};
