// The group "Schulkalender" on the "Extras" tab: the subscriptions, adding, removing and refreshing them.
#pragma once

#include "extras/ExtrasGroup.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SchoolCalendarService;

class SchoolCalendarGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit SchoolCalendarGroup(SchoolCalendarService &service, QWidget *parent = nullptr);

    /// Lists the stored subscriptions with how their last refresh went.
    void load() override;

private:
    void setupUi();
    void AddButtonClick();
    void RemoveButtonClick();
    void RefreshButtonClick();
    void ShowStatus();

    SchoolCalendarService &m_service;
    QListWidget *SubscriptionList = nullptr;
    QLineEdit *NameEdit = nullptr;
    QLineEdit *AddressEdit = nullptr;
    QPushButton *AddButton = nullptr;
    QPushButton *RemoveButton = nullptr;
    QPushButton *RefreshButton = nullptr;
    QLabel *StatusLabel = nullptr;
};
