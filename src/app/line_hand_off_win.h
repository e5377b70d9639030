// The Win32 side of the line hand-off: the wake-up message, which carries
// nothing, and the call a thread makes to have a line run on the window's thread.
#pragma once
#include <windows.h>

#include <string_view>

#include "command/line_hand_off.h"

namespace vsmr {

// Posted to the main window to make it run the lines of its process's
// hand-off queue. wParam and lParam mean nothing: a message from another
// process only makes the window look at a queue it cannot fill.
inline constexpr UINT kRunLineMessage = WM_APP + 1;

// Has `text` run on the thread of `window` as a fresh top-level run with
// `context` and waits at most timeout_ms for the result (kClosed at once when
// the program is closing). Called on the window's own thread, it runs the
// queue there and then and never waits.
LineHandOff::Result HandLineOver(LineHandOff& queue, HWND window, std::string_view text,
                                 int context, unsigned timeout_ms);

}  // namespace vsmr
