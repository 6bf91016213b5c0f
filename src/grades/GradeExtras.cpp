// The grade overview in the "Extras" menu.
#include "GradeExtras.h"

#include "GradeOverviewWindow.h"
#include "Options/GradeTab.h"
#include "extras/ExtrasMenu.h"

GradeExtras::GradeExtras(QObject *parent)
    : QObject(parent)
{
}

GradeExtras::~GradeExtras() = default;

void GradeExtras::install(ExtrasMenu *menu, QWidget *gradesPage)
{
    m_gradesPage = gradesPage;
    menu->addEntry(QStringLiteral("&Notenübersicht ..."),
                   QStringLiteral("Alle Fächer mit ihrem Durchschnitt als Tabelle und Balkendiagramm"),
                   [this] { OverviewClick(); });
}

void GradeExtras::OverviewClick()
{
    if (!m_window)
        m_window = std::make_unique<GradeOverviewWindow>([page = m_gradesPage] { return systemOf(page); });
    m_window->open();
}

MarkingSystem GradeExtras::systemOf(QWidget *gradesPage)
{
    GradeTab *tab = qobject_cast<GradeTab *>(gradesPage);
    if (!tab && gradesPage)
        tab = gradesPage->findChild<GradeTab *>();
    return tab ? tab->markingSystem() : MarkingSystem::Grades;
}
