// Light or dark windows: the option in the section "DARSTELLUNG" of the settings file.
#pragma once

#include <QString>

class AppearanceSettings final
{
public:
    enum class Mode { System, Light, Dark };

    /// "Modus" of "DARSTELLUNG": "system", "hell" or "dunkel"; anything else
    /// (a missing or hand-edited value) follows the system.
    static Mode mode();
    /// Throws EWriteError when the settings file cannot be written.
    static void setMode(Mode mode);

    static QString modeText(Mode mode);
    static Mode modeFromText(const QString &text);

    /// Whether the windows are dark: the option, or with "system" the
    /// desktop's colour scheme as the portal reports it (1 dark; 0 no
    /// preference and 2 light; -1 no portal).
    static bool dark(Mode mode, int desktopScheme);
};
