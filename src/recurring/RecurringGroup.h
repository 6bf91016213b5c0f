// The group "Wiederkehrende Hausaufgaben" on the "Extras" tab: the rules, and ending one.
#pragma once

#include "extras/ExtrasGroup.h"

class QLabel;
class QListWidget;
class QPushButton;

class RecurringGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit RecurringGroup(QWidget *parent = nullptr);

    /// Lists the stored rules as "Fach: Text".
    void load() override;

private:
    void setupUi();
    void RuleListChange();
    void EndRuleButtonClick();

    QListWidget *RuleList = nullptr;
    QPushButton *EndRuleButton = nullptr;
    QLabel *NoteLabel = nullptr;
};
