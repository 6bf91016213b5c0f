// The settings window: its frame, the five tabs and what every showing loads.
#include "TForm8.h"

#include "Autostart.h"
#include "appearance/TextScale.h"
#include "EventTab.h"
#include "GradeTab.h"
#include "ResearchTab.h"
#include "extras/ExtrasTab.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/ErrorReporter.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QWidget *emptyPage(const QString &objectName)
{
    auto *page = new QWidget;
    page->setObjectName(objectName);
    return page;
}

// Puts a tab's own widget onto its page, filling it.
template<class Tab>
Tab *fillPage(QWidget *page)
{
    auto *tab = new Tab(page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tab);
    return tab;
}
}

TForm8::TForm8(QWidget *parent)
    : QWidget(parent)
{
    setupUi();
}

void TForm8::setupUi()
{
    setObjectName(QStringLiteral("TForm8"));
    setFixedSize(TextScale::scaled(660), TextScale::scaled(440));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(QStringLiteral("Einstellungen"));
    TabDezuvedired = setupTimetableTab();
    TabFerien = setupHolidayTab();
    TabEreignisse = emptyPage(QStringLiteral("TabEreignisse"));
    TabInternet = emptyPage(QStringLiteral("TabInternet"));
    TabNoten = emptyPage(QStringLiteral("TabNoten"));
    m_eventTab = fillPage<EventTab>(TabEreignisse);
    m_researchTab = fillPage<ResearchTab>(TabInternet);
    m_gradeTab = fillPage<GradeTab>(TabNoten);
    connect(m_gradeTab, &GradeTab::closeRequested, this, &TForm8::Button2Click);
    PageControl1->addTab(TabDezuvedired, QStringLiteral("Dezuvedired"));
    PageControl1->addTab(TabFerien, QStringLiteral("Ferien"));
    PageControl1->addTab(TabEreignisse, QStringLiteral("Ereignisse"));
    PageControl1->addTab(TabInternet, QStringLiteral("Internet - Recherche"));
    PageControl1->addTab(TabNoten, QStringLiteral("Noten"));
    m_extrasTab = new ExtrasTab;
    PageControl1->addTab(m_extrasTab, QStringLiteral("Extras"));
    // The first showing opens on the research tab; later ones keep the tab
    // last selected, since showing never changes it.
    PageControl1->setCurrentWidget(TabInternet);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl1);
}

void TForm8::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A spontaneous show (restoring the minimized window) is no new showing
    // and must not discard the pupil's edits.
    if (!event->spontaneous())
        ErrorReporter::guarded([this] { FormShow(); });
}

void TForm8::FormShow()
{
    const QDate today = Clock::today();
    setWindowTitle(ErrorReporter::applicationTitle() + QStringLiteral(" - ") + DateText::formatLong(today)
                   + QStringLiteral(", ") + TimetableStore::weekdayName(today.dayOfWeek()));
    // Each tab loads on its own: a broken file of one tab is reported and
    // leaves the other tabs loaded.
    ErrorReporter::guarded([this] { LoadTimetable(); });
    ErrorReporter::guarded([this] { LoadHolidays(); });
    ErrorReporter::guarded([this] { m_eventTab->LoadEventTab(); });
    ErrorReporter::guarded([this] { m_gradeTab->LoadGradeTab(); });
    ErrorReporter::guarded([this] { m_researchTab->LoadResearchTree(); });

    // Last: a change of the box counts as a click, so a box turning on
    // rewrites the entry with the path of the program now running.
    ErrorReporter::guarded([this] { AutoStartCheck->setChecked(Autostart::AutostartEnabled()); });
    m_extrasTab->LoadExtrasTab();
}

void TForm8::Button2Click()
{
    hide();
}

bool TForm8::eventFilter(QObject *watched, QEvent *event)
{
    // A right-click on the grid opens the subject menu (or nothing) but
    // never moves the selected slot.
    if (watched == StringGrid1->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
                return true;
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
