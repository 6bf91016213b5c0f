// The part of the program that the main window's first frame does not need.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DueQueue;
class QWidget;
class TForm1;
class TForm8;
class TForm10;
class TXPrint;

/// The windows other than the main window, wired to it and to each other,
/// with the functions of the "Extras" menu and tab.
class DeferredWindows
{
public:
    virtual ~DeferredWindows() = default;
    virtual TForm8 *settingsWindow() const = 0;
    /// Hands the events found due at start to the reminder window, which
    /// shows the first that is due and keeps watching the rest.
    virtual void takeDueEvents(DueQueue &&queue) = 0;
    /// The reminder window's own scan of the settings file.
    virtual void scanDueEvents() = 0;
};

/// A sound played in a loop until it is destroyed.
class LoopingSound
{
public:
    virtual ~LoopingSound() = default;
    /// Starts the sound as soon as its file is loaded.
    virtual void play() = 0;
};

/// Everything the first frame does not need lives in the module
/// lib/kalmora-deferred.so beside the program, with the libraries only it uses
/// (sound, printing, network, calendars, archives, charts): loaded after the
/// first frame or when one of its functions is first chosen. The tests link
/// it in, and then no file is loaded.
class DeferredModule
{
public:
    virtual ~DeferredModule() = default;

    /// Builds the windows hidden, in their fixed order, telling `created` of
    /// each, and wires them to the main window. The reminder window is taken
    /// when the start has made it already.
    virtual std::unique_ptr<DeferredWindows> createWindows(TForm1 &main, TForm10 *reminder,
                                                           const std::function<void(QWidget *)> &created) = 0;
    /// Opens the wave file at `path`; null when it cannot be played.
    virtual std::unique_ptr<LoopingSound> openSound(const QString &path) = 0;
    /// The print button of the main window: the print dialog, then the weekly plans.
    virtual void printWeeklyPlans(QWidget *parent, TXPrint &print) = 0;
    /// "kalmora --sichern DATEI" and "--wiederherstellen DATEI"; the exit status.
    virtual int runBackupCommand(const QStringList &arguments) = 0;

    /// The module, loaded at the first call; null when it cannot be loaded,
    /// with `loadError()` saying why in German.
    static DeferredModule *get();
    static QString loadError();
    /// Where the program looks for the module file.
    static QString modulePath();
};

/// The module's entry, found by name in the loaded file.
extern "C" DeferredModule *kalmora_deferred_module();
