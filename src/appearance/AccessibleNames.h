// Names for screen readers where a control shows no text of its own.
#pragma once

#include <QObject>

class QWidget;

class AccessibleNames final : public QObject
{
public:
    /// From now on every control is looked at once, before it is first
    /// shown: a focusable one that has no accessible name, no text of its own
    /// and no label naming it takes its tool tip as its name.
    static void install();

    /// The same for one control at once.
    static void nameFromToolTip(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
