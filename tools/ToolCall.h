// What the command-line tools beside the program share: the call, the program directory, German failures.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ToolCall {

/// The exit status of a failed call.
constexpr int Failed = 2;

/// Takes the call `tool [PROGRAMDIR]` or `tool --help`: sets the program
/// directory (the argument, else KALMORA_DIR, else the tool's own folder) and
/// the clock (KALMORA_NOW), and finishes a restore that was cut off after it
/// was complete, as the program's start does. Returns the exit status when the tool ends here:
/// 0 after the help text, `Failed` with a German message on standard error
/// for a wrong call, an unreadable KALMORA_NOW or a missing directory.
std::optional<int> start(const char *tool, const char *help, int argc, char **argv);

/// Prints "tool: message" on standard error and returns `Failed`.
int fail(const char *tool, const QString &message);

/// Writes the bytes to standard output; a failed write is reported as `fail` does.
std::optional<int> writeOut(const char *tool, const QByteArray &bytes);

}
