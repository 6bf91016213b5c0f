// The grade overview window: the table of the subjects, the overall average, the chart, and printing them.
#include "GradeOverviewWindow.h"

#include "GradeOverviewChart.h"
#include "model/GradeStore.h"
#include "XPrinter/PrintDialog.h"
#include "XPrinter/TXPrint.h"
#include "appearance/ThemeColours.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QLabel *noteLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QPushButton *button(const char *name, const QString &caption, const QString &toolTip, QWidget *parent)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setToolTip(toolTip);
    return result;
}

}

GradeOverviewWindow::GradeOverviewWindow(SystemSource system, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_system(std::move(system))
{
    setupUi();
    m_saveObserver = GradeStore::addSaveObserver([this] { FollowSave(); });
}

GradeOverviewWindow::~GradeOverviewWindow()
{
    GradeStore::removeSaveObserver(m_saveObserver);
}

void GradeOverviewWindow::setupUi()
{
    setObjectName(QStringLiteral("GradeOverview"));
    setWindowTitle(GradeOverview::Title());
    resize(900, 820);

    GradeTable = new QTableWidget(0, int(GradeOverview::Headers().size()), this);
    GradeTable->setObjectName(QStringLiteral("GradeTable"));
    GradeTable->setHorizontalHeaderLabels(GradeOverview::Headers());
    GradeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GradeTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    GradeTable->verticalHeader()->setVisible(false);
    GradeTable->verticalHeader()->setDefaultSectionSize(GradeTable->fontMetrics().height() + 8);
    GradeTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    GradeTable->setToolTip(QStringLiteral("Der Durchschnitt jedes Fachs, wie ihn die Karte „Noten“ zeigt"));

    OverallLabel = noteLabel("OverallLabel", this);
    QFont bold = OverallLabel->font();
    bold.setBold(true);
    OverallLabel->setFont(bold);
    WeightNote = noteLabel("WeightNote", this);
    WeightNote->setText(GradeOverview::WeightNote());
    ReadNote = noteLabel("ReadNote", this);
    ReadNote->hide();

    GradeChart = new QChartView(this);
    GradeChart->setObjectName(QStringLiteral("GradeChart"));
    GradeChart->setRenderHint(QPainter::Antialiasing);
    GradeChart->setMinimumHeight(360);
    ThemeColours::follow(GradeChart, [this] { GradeOverviewChart::setDark(GradeChart->chart(), ThemeColours::dark()); });

    PrintButton = button("PrintButton", QStringLiteral("&Drucken"), QStringLiteral("Übersicht und Diagramm drucken"), this);
    connect(PrintButton, &QPushButton::clicked, this, ErrorReporter::handler(this, &GradeOverviewWindow::PrintButtonClick));
    CloseButton = button("CloseButton", QStringLiteral("&Schließen"), QStringLiteral("Fenster schließen"), this);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::hide);

    XPrint = new TXPrint(this);
    XPrint->setObjectName(QStringLiteral("XPrint"));
    XPrint->setScaling(TXPrint::pscMetric10);
    XPrint->setMarginLeft(150);
    XPrint->setMarginTop(200);
    XPrint->setMarginRight(150);
    XPrint->setMarginBottom(200);
    XPrint->setFont(QFont(QStringLiteral("Arial")));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(PrintButton);
    buttons->addWidget(CloseButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ReadNote);
    layout->addWidget(GradeTable, 1);
    layout->addWidget(OverallLabel);
    layout->addWidget(WeightNote);
    layout->addWidget(GradeChart, 2);
    layout->addLayout(buttons);
}

void GradeOverviewWindow::open()
{
    LoadOverview();
    show();
    raise();
    activateWindow();
}

void GradeOverviewWindow::LoadOverview()
{
    GradeOverview::Loaded loaded = GradeOverview::load();
    m_rows = loaded.rows;
    m_shownSystem = m_system ? m_system() : MarkingSystem::Grades;
    if (loaded.failure) {
        ReadNote->setText(QStringLiteral("Die Notendateien konnten nicht vollständig gelesen werden. Die Übersicht "
                                         "zeigt, was bis dahin gelesen wurde."));
    } else if (loaded.fromTimetable) {
        ReadNote->setText(QStringLiteral("Es sind noch keine Noten gespeichert; die Fächer stammen aus dem Stundenplan."));
    }
    ReadNote->setVisible(loaded.failure || loaded.fromTimetable);
    ShowTable();
    ShowChart();
    if (loaded.failure) {
        try {
            std::rethrow_exception(loaded.failure);
        } catch (const std::exception &error) {
            ErrorReporter::report(error);
        }
    }
}

void GradeOverviewWindow::ShowTable()
{
    GradeTable->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const QStringList cells = GradeOverview::cells(m_rows[r]);
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c != 0 && c != 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            GradeTable->setItem(r, c, item);
        }
    }
    GradeTable->resizeColumnsToContents();
    GradeTable->setCurrentItem(nullptr);
    GradeTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    const QStringList overall = GradeOverview::overallCells(m_rows);
    OverallLabel->setText(QStringLiteral("%1: %2 Punkte, Note %3").arg(overall[0], overall[1], overall[2]));
}

void GradeOverviewWindow::ShowChart()
{
    QChart *old = GradeChart->chart();
    GradeChart->setChart(GradeOverviewChart::build(m_rows, m_shownSystem));
    if (ThemeColours::dark())
        GradeOverviewChart::setDark(GradeChart->chart(), true);
    delete old;
}

QChart *GradeOverviewWindow::chart() const
{
    return GradeChart->chart();
}

// From the event loop: the save that called is still inside the grades tab's handler.
void GradeOverviewWindow::FollowSave()
{
    if (m_reloadQueued)
        return;
    m_reloadQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        m_reloadQueued = false;
        if (isVisible())
            ErrorReporter::guarded([this] { LoadOverview(); });
    }, Qt::QueuedConnection);
}

// The marking system may have been switched on the grades tab while the window stood behind.
void GradeOverviewWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !m_system)
        return;
    const MarkingSystem system = m_system();
    if (system != m_shownSystem) {
        m_shownSystem = system;
        ShowChart();
    }
}

void GradeOverviewWindow::PrintButtonClick()
{
    // The job's name is the program's for every printout, so the one before is given back.
    const QString previousTitle = XPrint->Title();
    XPrint->setTitle(GradeOverview::Title());
    const auto restoreTitle = qScopeGuard([&] { XPrint->setTitle(previousTitle); });
    if (!PrintDialog::execute(this, *XPrint))
        return;
    try {
        XPrint->BeginDoc();
        const QString date = QStringLiteral("Stand: %1").arg(Clock::today().toString(QStringLiteral("dd.MM.yyyy")));
        const GradeOverview::Page page =
            GradeOverview::printLayout(m_rows, {XPrint->PrintableWidth(), XPrint->PrintableHeight()}, date);
        XPrint->SetPen(Qt::black);
        XPrint->Execute(page.commands);
        const QRect area = page.chartArea;
        XPrint->Paint(area.x(), area.y(), area.width(), area.height(), [this](QPainter &painter, const QRectF &target) {
            GradeOverviewChart::render(m_rows, m_shownSystem, painter, target);
        });
        XPrint->EndDoc();
    } catch (...) {
        XPrint->Abort();
        throw;
    }
}
