// The window "Notenübersicht": every subject's average as a table and as a bar chart, printable on one page.
#pragma once

#include "GradeOverview.h"

#include <QWidget>

#include <functional>

class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QTableWidget;
class TXPrint;

class GradeOverviewWindow final : public QWidget
{
    Q_OBJECT
public:
    /// Tells the marking system that the grades tab shows.
    using SystemSource = std::function<MarkingSystem()>;

    /// Without a source the chart is drawn in the grade system. The window
    /// follows every save of the grade files while it is shown.
    explicit GradeOverviewWindow(SystemSource system = {}, QWidget *parent = nullptr);
    ~GradeOverviewWindow() override;

    /// Reads the grade files anew and shows them. A failure is reported as the
    /// grades tab reports it, and what was read before it is shown.
    void LoadOverview();
    /// Loads and shows the window, raised.
    void open();

    /// The system the chart is drawn in.
    MarkingSystem markingSystem() const { return m_shownSystem; }
    /// The subjects shown, in the tree's order.
    const QList<GradeOverview::Row> &rows() const { return m_rows; }
    QChart *chart() const;

    /// "&Drucken": the table and the chart on one page of the program's printer.
    void PrintButtonClick();

protected:
    void changeEvent(QEvent *event) override;

private:
    void setupUi();
    void ShowTable();
    void ShowChart();
    void FollowSave();

    QTableWidget *GradeTable = nullptr;
    QLabel *OverallLabel = nullptr;
    QLabel *WeightNote = nullptr;
    QLabel *ReadNote = nullptr;
    QChartView *GradeChart = nullptr;
    QPushButton *PrintButton = nullptr;
    QPushButton *CloseButton = nullptr;
    TXPrint *XPrint = nullptr;

    SystemSource m_system;
    MarkingSystem m_shownSystem = MarkingSystem::Grades;
    QList<GradeOverview::Row> m_rows;
    int m_saveObserver = 0;
    bool m_reloadQueued = false;
};
