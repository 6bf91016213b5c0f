// The calendar group on the "Extras" tab: whether and where the calendar file is kept current.
#pragma once

#include "CalendarSettings.h"
#include "extras/ExtrasGroup.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

class CalendarGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit CalendarGroup(QWidget *parent = nullptr);

    /// Shows the stored option and file.
    void load() override;

Q_SIGNALS:
    /// The option or its file was changed and stored.
    void optionsSaved(const CalendarSettings::Options &options);

private:
    void setupUi();
    void KeepCurrentCheckClick();
    void FileEditFinished();
    void FileButtonClick();
    /// Stores what the controls show, when it differs from what is stored.
    void store();

    QCheckBox *KeepCurrentCheck = nullptr;
    QLabel *FileLabel = nullptr;
    QLineEdit *FileEdit = nullptr;
    QToolButton *FileButton = nullptr;
    QLabel *NoteLabel = nullptr;
    CalendarSettings::Options m_stored;
};
