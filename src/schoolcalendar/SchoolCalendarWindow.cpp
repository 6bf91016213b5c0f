// The window "Schultermine": one branch a day, one row a date.
#include "SchoolCalendarWindow.h"

#include "SchoolCalendar.h"
#include "platform/Clock.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const char *const kDayNames[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};

QString timeText(const SchoolDate &date, QDate day)
{
    if (date.allDay)
        return date.firstDay() == date.lastDay() ? QStringLiteral("ganztägig")
                                                  : QStringLiteral("bis ") + date.lastDay().toString(QStringLiteral("dd.MM."));
    const QString from = date.firstDay() == day ? date.start.toString(QStringLiteral("HH:mm")) : QStringLiteral("...");
    const QString to = date.lastDay() == day ? date.end.toString(QStringLiteral("HH:mm")) : QStringLiteral("...");
    return date.end > date.start ? from + u'–' + to : from;
}
}

SchoolCalendarWindow::SchoolCalendarWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setupUi();
}

void SchoolCalendarWindow::setupUi()
{
    setObjectName(QStringLiteral("SchoolCalendarWindow"));
    setWindowTitle(QStringLiteral("Schultermine der nächsten 8 Wochen"));
    DateTree = new QTreeWidget(this);
    DateTree->setObjectName(QStringLiteral("SchoolCalendarDateTree"));
    DateTree->setHeaderLabels({QStringLiteral("Zeit"), QStringLiteral("Termin"), QStringLiteral("Ort"),
                               QStringLiteral("Beschreibung"), QStringLiteral("Kalender")});
    DateTree->setRootIsDecorated(false);
    DateTree->setWordWrap(true);
    DateTree->header()->setStretchLastSection(false);
    DateTree->header()->setSectionResizeMode(QHeaderView::Interactive);
    DateTree->header()->setSectionResizeMode(3, QHeaderView::Stretch);
    EmptyLabel = new QLabel(QStringLiteral("Keine Termine der Schule in den nächsten 8 Wochen."), this);
    EmptyLabel->setObjectName(QStringLiteral("SchoolCalendarEmptyLabel"));
    auto *close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("SchoolCalendarCloseButton"));
    close->setToolTip(QStringLiteral("Das Fenster schließen"));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(EmptyLabel);
    layout->addWidget(DateTree, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(760, 480);
}

void SchoolCalendarWindow::showDates(const QList<SchoolDate> &dates)
{
    DateTree->clear();
    const QDate today = Clock::today();
    const QDate last = SchoolCalendar::lastDay();
    int shown = 0;
    for (QDate day = today; day <= last; day = day.addDays(1)) {
        QTreeWidgetItem *branch = nullptr;
        for (const SchoolDate &date : dates) {
            if (!date.touches(day) || (date.allDay && date.firstDay() != day && day != today))
                continue; // an entry of several days is listed on its first day (or today)
            if (!branch) {
                branch = new QTreeWidgetItem(DateTree, {QLatin1String(kDayNames[day.dayOfWeek() - 1]) + QStringLiteral(", ")
                                                        + day.toString(QStringLiteral("dd.MM.yyyy"))});
                branch->setFirstColumnSpanned(true);
                QFont bold = branch->font(0);
                bold.setBold(true);
                branch->setFont(0, bold);
            }
            new QTreeWidgetItem(branch, {timeText(date, day), SchoolDates::title(date), date.location, date.description, date.source});
            ++shown;
        }
    }
    DateTree->expandAll();
    for (int column : {0, 1, 2, 4})
        DateTree->resizeColumnToContents(column);
    EmptyLabel->setVisible(shown == 0);
}
