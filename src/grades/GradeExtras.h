// The grade overview in the "Extras" menu; its window is made when it is first chosen.
#pragma once

#include "model/GradeArithmetic.h"

#include <QObject>
#include <QPointer>

#include <memory>

class ExtrasMenu;
class GradeOverviewWindow;
class QWidget;

class GradeExtras final : public QObject
{
    Q_OBJECT
public:
    explicit GradeExtras(QObject *parent = nullptr);
    ~GradeExtras() override;

    /// Adds "&Notenübersicht ..." to the menu. `gradesPage` is the page of the
    /// grades tab, whose marking system the chart follows; without it the
    /// chart is drawn in the grade system.
    void install(ExtrasMenu *menu, QWidget *gradesPage);

    /// "&Notenübersicht ...": shows the overview, read anew from the grade files.
    void OverviewClick();
    /// The window; null until the entry was first chosen.
    GradeOverviewWindow *window() const { return m_window.get(); }

    /// The marking system of the grades tab on `gradesPage`; the grade system without one.
    static MarkingSystem systemOf(QWidget *gradesPage);

private:
    QPointer<QWidget> m_gradesPage;
    std::unique_ptr<GradeOverviewWindow> m_window;
};
