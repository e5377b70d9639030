// The options put into effect on the window: the buttons, the launcher box,
// the automatic mail timer, the skin and the hot key follow the new settings.
#include "app/main_window_win.h"

namespace vsmr {

void MainWindow::FollowOptions(const OptionsEffects& effects) {
  if (bar_host_) {
    RefreshButtonBar(state_.buttons, state_.layout, state_.settings.launcher_items, *bar_host_);
  }
  // An open box is opened again at the new length and with the new font.
  if (state_.layout.launcher_open) {
    CloseLauncher();
    OpenLauncher();
  }
  // The check list was rebuilt; a check already running works on its own copy
  // and stores its results by account. The timer follows the new interval,
  // unless a check runs: its end arms the timer with the interval of then.
  mail_jobs_.KeepAutoTimer(static_cast<std::uint32_t>(effects.mail_interval) * 1000u);
  CheckSkinPresent();
  // Registered again either way (a key that was taken may be free now), but
  // only a key the user just set is worth a notice.
  if (!RegisterHotKeyFromSettings() && effects.hot_key_changed) {
    system_.ShowMessageBox(hwnd_,
                           "ホットキーを登録できませんでした。ほかのプログラムが使っているキーかもしれません。"
                           "別のキーを設定してください",
                           "注意", MB_OK | MB_ICONWARNING);
  }
}

}  // namespace vsmr
