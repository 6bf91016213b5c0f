// The start-up sequence: every window created once, the checks, the first showing.
#pragma once

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TForm1;

class Startup final
{
public:
    Startup();
    ~Startup();

    /// Creates every window once, hidden, in the fixed order; each window's
    /// preparation runs as it is created, and the windows are wired together.
    void createWindows();
    /// The due-event scan (when pending) and the holiday decision whether the
    /// main window is shown.
    void finishStartup();

    TForm1 *mainWindow() const;
    /// The object names of the windows in the order they were created.
    const QStringList &creationOrder() const { return m_creationOrder; }

    /// Replaces the question whether the desktop has a tray (tests).
    void setTrayAvailable(std::function<bool()> probe) { m_trayAvailable = std::move(probe); }

    /// The whole program: title, windows, checks, message loop.
    static int run(int &argc, char **argv);

private:
    void created(QWidget *window);
    void wireWindows();

    std::unique_ptr<TForm1> m_form1;
    std::vector<std::unique_ptr<QWidget>> m_dialogs; // the other windows in creation order; destroyed first
    QStringList m_creationOrder;
    std::function<bool()> m_trayAvailable;
};
