// Handing a line to the window's thread: queue it, wake the window, wait.
#include "app/line_hand_off_win.h"

namespace vsmr {

LineHandOff::Result HandLineOver(LineHandOff& queue, HWND window, std::string_view text,
                                 int context, unsigned timeout_ms) {
  const bool own_thread = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
  if (own_thread) {
    // Waiting here would wait on ourselves: the window procedure runs the
    // line inside SendMessage, so it has finished (or never will) on return.
    return queue.Send(text, context, 0, [window] {
      if (!IsWindow(window)) return false;
      SendMessageA(window, kRunLineMessage, 0, 0);
      return true;
    });
  }
  return queue.Send(text, context, timeout_ms, [window] {
    return PostMessageA(window, kRunLineMessage, 0, 0) != FALSE;
  });
}

}  // namespace vsmr
