// The built-ins as the main window sees them: their host's hooks into the
// window's save and button bar, and the end of the shutdown countdown.
#include "app/main_window_win.h"

namespace vsmr {

void MainWindow::AttachBuiltinHost() {
  WindowBuiltinHost::Callbacks callbacks;
  callbacks.save = [this] { return settings_sequence_.Save(false); };
  callbacks.refresh_buttons = [this] {
    if (bar_host_) {
      RefreshButtonBar(state_.buttons, state_.layout, state_.settings.launcher_items, *bar_host_);
    }
  };
  builtin_host_.Attach(hwnd_, std::move(callbacks));
}

void MainWindow::OnShutdownTimer() {
  // A countdown cancelled meanwhile (a left click, Yes) has killed the timer;
  // a message already queued must not end the session.
  if (!state_.shutdown_active) {
    KillTimer(hwnd_, IDT_SHUTDOWN);
    return;
  }
  FinishShutdownCountdown(state_.shutdown_active, builtin_host_);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace vsmr
