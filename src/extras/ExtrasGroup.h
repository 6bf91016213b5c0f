// One group of settings on the "Extras" tab of the settings window.
#pragma once

#include <QGroupBox>

class ExtrasGroup : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

    /// Reads the group's settings into its controls; runs every time the
    /// settings window is shown, so unsaved edits in the group are lost then.
    virtual void load() = 0;
};
