// Start-up measurement: reports when a window is first painted, then ends the process.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace FirstFrameReport {

/// When the environment variable KALMORA_EXIT_AFTER_SHOW is set, waits for the
/// first paint of `window`, prints "first-frame-ms=<ms> rss-kb=<kB>" on
/// standard output (milliseconds since the process started, resident memory
/// at that moment), followed by a blank and `moreFields()` when given, and
/// ends the process at once, without tearing anything down. Without the
/// variable nothing happens.
void armFromEnvironment(QWidget *window, std::function<std::string()> moreFields = {});

/// Milliseconds since the process was started, read from the kernel.
double processAgeMs();
/// The resident memory of the process in kB, 0 when unknown.
long residentKb();

}
