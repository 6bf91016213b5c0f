// Printing the weekly plans from the main window.
#pragma once

class QWidget;
class TXPrint;

namespace WeeklyPlanPrinting {
/// The print dialog over `parent`; when it is confirmed, one job per weekly plan on `print`.
void print(QWidget *parent, TXPrint &print);
}
