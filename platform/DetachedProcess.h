// Starting a program detached from the planner, its arguments handed over one by one.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// What is started: a program and its argument list, never a shell command line.
struct DetachedCommand
{
    QString program;
    QStringList arguments;
    friend bool operator==(const DetachedCommand &, const DetachedCommand &) = default;
};

class DetachedProcess final
{
public:
    /// Starts a command detached from the program; true when it was started.
    using Starter = std::function<bool(const DetachedCommand &command)>;

    /// Starts the command detached, without a shell; on Windows its window
    /// opens maximized. Whether the program comes up is not examined.
    static bool start(const DetachedCommand &command);

    /// The program that opens a file or an address with what the desktop has
    /// chosen for it: explorer.exe on Windows, elsewhere xdg-open looked up on
    /// the PATH; empty when there is none.
    static QString desktopOpener();
};

/// The process start of one caller, replaceable by tests; it starts with
/// `DetachedProcess::start`, and an empty starter restores that.
class DetachedStarter final
{
public:
    bool operator()(const DetachedCommand &command) const { return m_starter(command); }
    void set(DetachedProcess::Starter starter);

private:
    DetachedProcess::Starter m_starter = DetachedProcess::start;
};
