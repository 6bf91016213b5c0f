// The rules of recurring homework on the "Extras" tab.
#include "RecurringGroup.h"

#include "RecurringHomework.h"
#include "platform/ErrorReporter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

RecurringGroup::RecurringGroup(QWidget *parent)
    : ExtrasGroup(QStringLiteral("Wiederkehrende Hausaufgaben"), parent)
{
    setupUi();
}

void RecurringGroup::setupUi()
{
    setObjectName(QStringLiteral("RecurringGroup"));
    RuleList = new QListWidget(this);
    RuleList->setObjectName(QStringLiteral("RuleList"));
    RuleList->setToolTip(QStringLiteral("Diese Hausaufgaben werden für jede nächste Stunde des Fachs eingetragen"));
    RuleList->setMinimumHeight(72);
    RuleList->setMaximumHeight(110);

    EndRuleButton = new QPushButton(QStringLiteral("Regel &beenden"), this);
    EndRuleButton->setObjectName(QStringLiteral("EndRuleButton"));
    EndRuleButton->setToolTip(QStringLiteral("Die gewählte Hausaufgabe nicht mehr eintragen; schon eingetragene bleiben stehen"));
    EndRuleButton->setEnabled(false);

    NoteLabel = new QLabel(QStringLiteral("Eine neue Regel legen Sie beim Eintragen einer Hausaufgabe mit "
                                          "„jede Stunde wiederholen“ an."),
                           this);
    NoteLabel->setObjectName(QStringLiteral("RecurringNoteLabel"));
    NoteLabel->setWordWrap(true);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(EndRuleButton);
    buttons->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addWidget(RuleList, 1);
    row->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(NoteLabel);

    connect(RuleList, &QListWidget::currentRowChanged, this, &RecurringGroup::RuleListChange);
    connect(EndRuleButton, &QPushButton::clicked, this, ErrorReporter::handler(this, &RecurringGroup::EndRuleButtonClick));
}

void RecurringGroup::load()
{
    RuleList->clear();
    for (const RecurringHomework::Rule &rule : RecurringHomework::rules()) {
        auto *item = new QListWidgetItem(rule.subject + QStringLiteral(": ") + rule.text, RuleList);
        item->setData(Qt::UserRole, rule.number);
    }
    RuleListChange();
}

void RecurringGroup::RuleListChange()
{
    EndRuleButton->setEnabled(RuleList->currentItem() != nullptr);
}

void RecurringGroup::EndRuleButtonClick()
{
    const QListWidgetItem *item = RuleList->currentItem();
    if (!item)
        return;
    RecurringHomework::endRule(item->data(Qt::UserRole).toInt());
    load();
}
