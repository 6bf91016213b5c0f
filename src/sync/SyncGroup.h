// The group "Synchronisation (CalDAV)" on the "Extras" tab: account, collections, status.
#pragma once

#include "SyncSettings.h"
#include "extras/ExtrasGroup.h"

#include <QUrl>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class SyncGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit SyncGroup(QWidget *parent = nullptr);

    /// Shows the stored settings and the status line.
    void load() override;
    /// The status line of the last sync or failure.
    void showStatus(const QString &status);

Q_SIGNALS:
    /// The settings were stored.
    void optionsSaved(const SyncSettings::Options &options);

private:
    void setupUi();
    void CheckButtonClick();
    void ApplyButtonClick();
    /// Fills a choice with the calendars that take the component, the new one first.
    void fillChoice(QComboBox *combo, const QString &newName, const QString &stored, bool todos);
    /// The chosen URL; a new calendar is made on the server first.
    QString chosen(QComboBox *combo, const QString &segment, const QString &name, bool todos);

    QCheckBox *ActiveCheck = nullptr;
    QLineEdit *ServerEdit = nullptr;
    QLineEdit *UserEdit = nullptr;
    QLineEdit *PasswordEdit = nullptr;
    QPushButton *CheckButton = nullptr;
    QComboBox *TasksCombo = nullptr;
    QComboBox *EventsCombo = nullptr;
    QPushButton *ApplyButton = nullptr;
    QLabel *StatusLabel = nullptr;
    QUrl m_home;
    struct Found
    {
        QString url;
        QString name;
        bool todos;
        bool events;
    };
    QList<Found> m_found;
};
