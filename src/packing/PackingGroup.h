// The group "Ranzen packen" on the "Extras" tab: whether and when the evening reminder comes.
#pragma once

#include "extras/ExtrasGroup.h"

#include <QTime>

class QCheckBox;
class QLabel;
class QTimeEdit;

class PackingGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit PackingGroup(QWidget *parent = nullptr);

    /// Shows the stored option and time.
    void load() override;

Q_SIGNALS:
    /// The option or its time was changed and stored.
    void optionsSaved();

private:
    void setupUi();
    void RemindCheckClick();
    void TimeEditFinished();
    /// Stores what the controls show, when it differs from what is stored.
    void store();

    QCheckBox *RemindCheck = nullptr;
    QLabel *TimeLabel = nullptr;
    QTimeEdit *TimeEdit = nullptr;
    QLabel *NoteLabel = nullptr;
    bool m_storedActive = false;
    QTime m_storedTime;
};
