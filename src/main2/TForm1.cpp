// The main window.
#include "TForm1.h"

#include "HomeworkStore.h"
#include "Options/TimetableStore.h"
#include "ProgramState.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/ErrorReporter.h"

#include <QApplication>
#include <QCloseEvent>

TForm1::TForm1(QWidget *parent)
    : QWidget(parent)
{
    setupUi();
}

void TForm1::setupUi()
{
    setObjectName(QStringLiteral("TForm1"));
    setFixedSize(640, 480);
}

void TForm1::FormCreate()
{
    const QDate today = Clock::today();
    HomeworkStore::PruneHomeworkDates();
    setWindowTitle(ErrorReporter::applicationTitle() + QStringLiteral(" - ") + DateText::formatLong(today)
                   + QStringLiteral(", ") + TimetableStore::weekdayName(today.dayOfWeek()));
    ProgramState::StartupScanPending = true;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TForm1::FormClose()
{
    QApplication::quit();
}
