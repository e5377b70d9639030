// The Win32 side of the call hand-off: the message that wakes the main window
// to run the calls of its process's queue.
#pragma once
#include <windows.h>

namespace vsmr {

// Posted to the main window to make it run the queued calls. wParam and lParam
// mean nothing: a message from another process only makes the window look at
// a queue it cannot fill.
inline constexpr UINT kRunCallsMessage = WM_APP + 1;

}  // namespace vsmr
