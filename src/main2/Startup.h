// The start-up sequence: every window created once, the checks, the first showing.
#pragma once

#include <QStringList>

#include <memory>

class TForm1;

class Startup final
{
public:
    Startup();
    ~Startup();

    /// Creates every window once, hidden, in the fixed order; each window's
    /// preparation runs as it is created.
    void createWindows();
    /// The due-event scan (when pending) and the holiday decision whether the
    /// main window is shown.
    void finishStartup();

    TForm1 *mainWindow() const;
    /// The object names of the windows in the order they were created.
    const QStringList &creationOrder() const { return m_creationOrder; }

    /// The whole program: title, windows, checks, message loop.
    static int run(int &argc, char **argv);

private:
    std::unique_ptr<TForm1> m_form1;
    QStringList m_creationOrder;
};
