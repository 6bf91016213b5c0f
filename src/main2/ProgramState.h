// Program-wide state shared by the start-up sequence and the main window.
#pragma once

namespace ProgramState {
/// Set at the end of the main window's preparation; the start-up sequence
/// runs the due-event scan once while it is set and then clears it.
inline bool StartupScanPending = false;
}
