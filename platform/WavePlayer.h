// Playing the wave file of a reminder or an alarm while it is on screen.
#pragma once

#include <QString>
#include <QStringList>

/// At most one sound is open. `play` starts it and returns at once; it
/// repeats until `close`. A file that is missing or cannot be played plays
/// nothing, and nothing of it reaches the caller.
class WavePlayer final
{
public:
    /// Closes any open sound and opens the file `name` stands for.
    static void open(const QString &name);
    /// Starts the sound opened last; it begins as soon as the file is loaded.
    static void play();
    /// Ends the sound, if it still plays, and releases the file.
    static void close();

    /// The file a name stands for: a bare file name lies in the program
    /// directory (found without regard to case); a path is taken as it is.
    static QString resolve(const QString &name);
    /// Whether a file was found and opened by the last `open` and not closed since.
    static bool isOpen();

    /// Until `release`, the sound opened is only noted, and a `play` with it;
    /// both happen at `release`. The start holds the reminder's sound this way
    /// until the first frame is out, so that the sound library does not delay it.
    static void hold();
    static void release();

    /// Tests: while recording, every call is noted ("OpenWAVE <name>",
    /// "PlayWAVE", "CloseWAVE") and no sound is made.
    static void setRecording(bool recording);
    /// The calls noted so far, oldest first; clears the record.
    static QStringList takeCalls();
};

/// The three calls of the callers, as they name them.
void OpenWAVE(const QString &name);
void PlayWAVE();
void CloseWAVE();
