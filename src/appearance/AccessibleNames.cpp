// Tool tips as accessible names for picture buttons, grids, lists and fields without a label.
#include "AccessibleNames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace {

// As Qt itself names a field: a label whose buddy it is.
bool hasLabel(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    if (!parent)
        return false;
    const QList<QLabel *> labels = parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    return std::any_of(labels.begin(), labels.end(), [widget](const QLabel *label) { return label->buddy() == widget; });
}

}

void AccessibleNames::install()
{
    static AccessibleNames *filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new AccessibleNames(qApp);
    qApp->installEventFilter(filter);
}

void AccessibleNames::nameFromToolTip(QWidget *widget)
{
    if (widget->focusPolicy() == Qt::NoFocus || !widget->accessibleName().isEmpty() || widget->toolTip().isEmpty())
        return;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget); button && !button->text().isEmpty())
        return;
    if (hasLabel(widget))
        return;
    widget->setAccessibleName(widget->toolTip());
}

bool AccessibleNames::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish && watched->isWidgetType())
        nameFromToolTip(static_cast<QWidget *>(watched));
    return false;
}
