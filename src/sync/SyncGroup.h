// The group "Synchronisation (CalDAV)" on the "Extras" tab: account, collections, status.
#pragma once

#include "CalDavClient.h"
#include "SyncSettings.h"
#include "SyncThread.h"
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
    /// Fills a choice with the calendars that take the component, the new one
    /// first; with `newWhenNone` and none found or stored, the new one is chosen.
    void fillChoice(QComboBox *combo, const QString &newName, const QString &stored, bool todos, bool newWhenNone);
    void setBusy(bool busy);
    /// Stores a typed password and calls `next` with the account once the password is there.
    void withAccount(const std::function<void(const CalDavClient::Account &account)> &next);
    /// Runs `work` against the server on its own thread, then `done` here; a failure is shown.
    void runOnServer(SyncThread::Work work, std::function<void()> done);
    void saveOptions(const SyncSettings::Options &options);

    QCheckBox *ActiveCheck = nullptr;
    QLineEdit *ServerEdit = nullptr;
    QLineEdit *UserEdit = nullptr;
    QLineEdit *PasswordEdit = nullptr;
    QPushButton *CheckButton = nullptr;
    QComboBox *TasksCombo = nullptr;
    QComboBox *EventsCombo = nullptr;
    QPushButton *ApplyButton = nullptr;
    QLabel *StatusLabel = nullptr;
    SyncThread *m_thread = nullptr;
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
