// Opening a research link in the desktop's web browser.
#pragma once

#include "platform/DetachedProcess.h"

#include <QString>

class ResearchBrowser final
{
public:
    /// What is started: the browser command and the address as its one argument, never a shell command line.
    using Command = DetachedCommand;
    /// Starts a command detached from the program; true when it was started.
    using Starter = DetachedProcess::Starter;

    static const QString &RefusedText();   // "ERROR: Adresse wird nicht geöffnet!"
    static const QString &NoBrowserText(); // "ERROR: Standardbrowser kann nicht gefunden werden!"

    /// True for an address that starts with "http://" or "https://" (in any
    /// letter case) and names something after it.
    static bool IsWebAddress(const QString &address);

    /// Opens a web address with the desktop's opener (xdg-open on the PATH).
    /// Returns the text for the status line: `RefusedText` for anything but
    /// an http or https address, `NoBrowserText` when there is no opener,
    /// empty when the browser was started (whether it came up is not examined).
    static QString OpenInBrowser(const QString &address);

    /// Tests: replaces the process start; an empty starter restores it.
    static void setStarter(Starter starter);
};
