// The group "Darstellung" on the "Extras" tab: light, dark, or as the desktop has it.
#pragma once

#include "AppearanceSettings.h"
#include "extras/ExtrasGroup.h"

class QComboBox;
class QLabel;

class AppearanceGroup final : public ExtrasGroup
{
    Q_OBJECT
public:
    explicit AppearanceGroup(QWidget *parent = nullptr);

    /// Shows the stored option.
    void load() override;

Q_SIGNALS:
    /// The pupil chose another option; it is stored already.
    void modeChosen(AppearanceSettings::Mode mode);

private:
    void setupUi();
    void ModeBoxActivated();

    QLabel *ModeLabel = nullptr;
    QComboBox *ModeBox = nullptr;
    int m_stored = 0;
};
