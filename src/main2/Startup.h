// The start-up sequence: every window created once, the checks, the first showing.
#pragma once

#include "backup/Snapshots.h"

#include <QStringList>

#include <functional>
#include <future>
#include <optional>
#include <memory>
#include <vector>

class QWidget;
class TForm1;
class TForm2;
class TForm3;
class TForm5;
class TForm7;
class TForm8;
class TForm10;

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
    TForm8 *settingsWindow() const { return m_form8; }
    /// The object names of the windows in the order they were created.
    const QStringList &creationOrder() const { return m_creationOrder; }

    /// Replaces the question whether the desktop has a tray (tests).
    void setTrayAvailable(std::function<bool()> probe) { m_trayAvailable = std::move(probe); }

    /// The whole program: title, windows, checks, message loop.
    static int run(int &argc, char **argv);

private:
    template<class Window>
    Window *create();
    void created(QWidget *window);
    void wireWindows();
    void wireApplications();
    void startSnapshotWriting();

    std::unique_ptr<TForm1> m_form1;
    std::vector<std::unique_ptr<QWidget>> m_dialogs; // the other windows in creation order; destroyed first
    TForm2 *m_form2 = nullptr;
    TForm3 *m_form3 = nullptr;
    TForm7 *m_form7 = nullptr;
    TForm8 *m_form8 = nullptr;
    TForm5 *m_form5 = nullptr;
    TForm10 *m_form10 = nullptr;
    QStringList m_creationOrder;
    std::function<bool()> m_trayAvailable;
    // The day's first snapshot: read before pruning, written after the first frame.
    std::optional<Snapshots::Daily> m_pendingSnapshot;
    std::future<bool> m_dailySnapshot;
};
