// The "Extras" tab: groups built on first use and loaded at every showing.
#include "ExtrasTab.h"

#include "ExtrasGroup.h"
#include "platform/ErrorReporter.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include <utility>

ExtrasTab::ExtrasTab(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ExtrasTab"));
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("ExtrasGroups"));
    m_groupLayout = new QVBoxLayout(content);
    m_groupLayout->setContentsMargins(10, 10, 10, 10);
    m_groupLayout->setSpacing(10);
    m_groupLayout->addStretch(1);

    // Room for many groups: the page scrolls once they outgrow the window.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    scroll->setAccessibleName(QStringLiteral("Extras"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

void ExtrasTab::addGroup(GroupFactory factory)
{
    m_pending.push_back(std::move(factory));
}

void ExtrasTab::buildPendingGroups()
{
    for (GroupFactory &factory : std::exchange(m_pending, {})) {
        ExtrasGroup *group = factory();
        m_groupLayout->insertWidget(m_groupLayout->count() - 1, group); // above the closing stretch
        m_groups.push_back(group);
    }
}

void ExtrasTab::LoadExtrasTab()
{
    buildPendingGroups();
    for (ExtrasGroup *group : m_groups)
        ErrorReporter::guarded([group] { group->load(); });
}
