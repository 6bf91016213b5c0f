// The "Extras" tab of the settings window: the settings of the added functions, one group each.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

class ExtrasGroup;
class QVBoxLayout;

class ExtrasTab final : public QWidget
{
    Q_OBJECT
public:
    using GroupFactory = std::function<ExtrasGroup *()>;

    explicit ExtrasTab(QWidget *parent = nullptr);

    /// Adds a group below the ones added before. It is built the first time
    /// the tab loads, so that no group costs anything while the program starts.
    void addGroup(GroupFactory factory);

    /// What each showing of the settings window loads on this tab: every
    /// group reads its settings; a group that fails is reported and the others load.
    void LoadExtrasTab();

    /// The groups built so far, in their order on the tab.
    const std::vector<ExtrasGroup *> &groups() const { return m_groups; }

private:
    void buildPendingGroups();

    QVBoxLayout *m_groupLayout = nullptr;
    std::vector<GroupFactory> m_pending;
    std::vector<ExtrasGroup *> m_groups;
};
