// The group "Klassenliste" on the "Extras" tab: the class's shared task list of the CalDAV account.
#pragma once

#include "ClassListSettings.h"
#include "extras/ExtrasGroup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class ClassListGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit ClassListGroup(QWidget *parent = nullptr);

    /// Shows the stored class list and whether it may be written.
    void load() override;

private:
    void setupUi();
    void FetchButtonClick();
    void NewButtonClick();
    void ApplyButtonClick();
    void fillChoice(const QString &chosen);
    /// The chosen list's URL, or the address typed.
    QString chosenUrl() const;

    QCheckBox *ClassActiveCheck = nullptr;
    QComboBox *ClassListCombo = nullptr;
    QPushButton *ClassFetchButton = nullptr;
    QPushButton *ClassNewButton = nullptr;
    QPushButton *ClassApplyButton = nullptr;
    QLabel *ClassStatusLabel = nullptr;
    struct Found
    {
        QString url;
        QString label;
    };
    QList<Found> m_found;
};
