// Light or dark windows: follows the option and, set to "wie das System", the desktop.
#pragma once

#include "AppearanceSettings.h"

#include <QObject>
#include <QPalette>

class ColorSchemePortal;
class ExtrasTab;

class Appearance final : public QObject
{
    Q_OBJECT
public:
    explicit Appearance(QObject *parent = nullptr);

    /// Adds the group "Darstellung" to the tab.
    void install(ExtrasTab *tab);

    /// Tests use a private bus; see ColorSchemePortal::setBusConnection.
    void setBusConnection(const QString &name);

    /// Reads the option and, following the system, asks the desktop without
    /// waiting. Called after the first frame: the start never waits for it.
    void start();
    /// A new option was chosen: every window follows at once.
    void setMode(AppearanceSettings::Mode mode);

    bool isDark() const { return m_dark; }

    /// The dark palette of the Fusion style that every window takes.
    static QPalette darkPalette();

Q_SIGNALS:
    void changed(bool dark);

private:
    void apply();

    ColorSchemePortal *m_portal = nullptr;
    AppearanceSettings::Mode m_mode = AppearanceSettings::Mode::System;
    bool m_dark = false;
};
