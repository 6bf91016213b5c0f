// Whether the planner starts with the desktop session: one autostart entry named "Kalmora 2.0".
#pragma once

#include <QString>

/// On Linux the entry is the XDG autostart file "kalmora-2.0.desktop" in
/// $XDG_CONFIG_HOME/autostart (default ~/.config/autostart); its Exec= line
/// starts the program. On Windows it is the value "Kalmora 2.0" of the
/// machine's Run key. The entry "cannot be opened" when its folder cannot be
/// created or written (on Windows: the key cannot be opened for writing).
class Autostart final
{
public:
    /// "Kalmora 2.0": the name of the entry, also in its error text.
    static const QString &ValueName();
    /// The full path of the autostart file.
    static QString EntryPath();
    /// The program the entry should start: the launcher named by
    /// KALMORA_LAUNCHER when set, else the running executable.
    static QString ProgramPath();

    /// True exactly when the entry can be opened and holds a non-empty command.
    static bool AutostartEnabled();
    /// The program the stored entry starts (its command without arguments),
    /// empty when there is none or it cannot be opened.
    static QString StoredProgramPath();

    /// Writes the entry so that it starts `programPath`. Returns false and
    /// changes nothing when the entry cannot be opened; throws ERegistryError
    /// "Failed to set data for 'Kalmora 2.0'" when the write is refused.
    static bool EnableAutostart(const QString &programPath);
    /// Removes the entry; whether that succeeds is not looked at. Returns
    /// false when the entry cannot be opened.
    static bool DisableAutostart();

    /// The Exec= text that starts `programPath`: quoted where it holds blanks
    /// or other reserved characters, with "%" doubled and line breaks escaped.
    static QString ExecText(const QString &programPath);
    /// The program named by an Exec= text, the reverse of `ExecText`.
    static QString ProgramOfExecText(const QString &execText);
};
