// Printing the weekly plans from the main window.
#include "WeeklyPlanPrinting.h"

#include "PrintDialog.h"
#include "TXPrint.h"
#include "WeeklyPlan.h"

#include "platform/Clock.h"

#include <QColor>

void WeeklyPlanPrinting::print(QWidget *parent, TXPrint &print)
{
    if (!PrintDialog::execute(parent, print))
        return;
    const Week week = SchoolWeeks::weekOf(WeeklyPlan::PlanMonday(Clock::today()));
    try {
        for (const QStringList &days : WeeklyPlan::PrintJobs()) {
            print.BeginDoc();
            print.SetPen(Qt::black);
            print.Execute(WeeklyPlan::LayoutJob(days, {print.PrintableWidth(), print.PrintableHeight()}, week));
            print.EndDoc();
        }
    } catch (...) {
        print.Abort();
        throw;
    }
}
