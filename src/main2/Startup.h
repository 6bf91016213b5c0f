// The start-up sequence: every window created once, the checks, the first showing.
#pragma once

#include "backup/Snapshots.h"
#include "termin/DueQueue.h"

#include <QStringList>

#include <functional>
#include <future>
#include <optional>
#include <memory>
#include <vector>

class DeferredWindows;
class QWidget;
class TForm1;
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
    /// The first of them: the main window with its preparation (pruning, the
    /// alarm questions).
    void createMainWindow();
    /// The others, from the module, unless they are there already; false
    /// when the module cannot be loaded, which the main window's buttons then say.
    bool createOtherWindows();
    /// The due-event scan (when pending) and the holiday decision whether the
    /// main window is shown. Without the other windows, an event due now
    /// has the reminder window built first, so that it shows as before; the
    /// events found otherwise wait for the reminder window.
    void finishStartup();
    /// The other windows right after the main window's first frame, or at
    /// once when it stays hidden.
    void createOtherWindowsAfterFirstFrame();

    TForm1 *mainWindow() const;
    TForm8 *settingsWindow() const;
    /// The object names of the windows in the order they were created.
    const QStringList &creationOrder() const { return m_creationOrder; }

    /// Replaces the question whether the desktop has a tray (tests).
    void setTrayAvailable(std::function<bool()> probe) { m_trayAvailable = std::move(probe); }

    /// The whole program: title, windows, checks, message loop.
    static int run(int &argc, char **argv);

private:
    void created(QWidget *window);
    void scanDueEventsWithoutWindows();
    void reportMissingModuleOnRequests();
    void startSnapshotWriting();

    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm10> m_reminder; // when an event was due before the other windows
    std::unique_ptr<DeferredWindows> m_others; // destroyed before the reminder and the main window
    std::optional<DueQueue> m_waitingDueEvents; // scanned before the reminder window was built
    QStringList m_creationOrder;
    std::function<bool()> m_trayAvailable;
    // The day's first snapshot: read before pruning, written after the first frame.
    std::optional<Snapshots::Daily> m_pendingSnapshot;
    std::future<bool> m_dailySnapshot;
};
