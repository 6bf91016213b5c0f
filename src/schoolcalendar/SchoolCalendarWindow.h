// The window of the school's dates of the next 8 weeks, day by day.
#pragma once

#include "SchoolDate.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

class SchoolCalendarWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit SchoolCalendarWindow(QWidget *parent = nullptr);

    /// Lists `dates` from today on by day: time, title, place, description and subscription.
    void showDates(const QList<SchoolDate> &dates);

private:
    void setupUi();

    QTreeWidget *DateTree = nullptr;
    QLabel *EmptyLabel = nullptr;
};
