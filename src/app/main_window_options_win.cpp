// The options dialog as the main window sees it: a fresh working copy for each
// opening, and on OK the copy put into effect with the buttons, the launcher
// box, the automatic mail timer, the skin and the hot key following it.
#include <memory>

#include "app/completion_enum_win.h"
#include "app/main_window_win.h"
#include "dialogs/editor_rules.h"

namespace vsmr {

void MainWindow::ShowOptions() {
  // One at a time: a command run while it is open may ask for it again.
  if (options_open_) return;
  options_open_ = true;
  auto copy = std::make_unique<OptionsCopy>();
  TakeOptionsCopy(state_.settings, state_.commands, *copy);
  OptionsDialogContext context;
  context.item.editor = {instance_, hwnd_, &state_.file_chooser};
  context.item.nt_platform = state_.nt_platform;
  context.item.icons.module = instance_;
  IMalloc* allocator = allocator_;
  context.item.attach_completion = [allocator](HWND edit, const std::vector<std::string>& words) {
    return AttachCompletion(edit, words, allocator);
  };
  context.colors = &colors_;
  if (RunOptionsDialog(context, *copy) == kEditorOk) ApplyOptionsCopy(*copy);
  options_open_ = false;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::ApplyOptionsCopy(const OptionsCopy& copy) {
  const OptionsEffects effects =
      ApplyOptions(copy, state_.settings, state_.commands, PathExistsOnDisk);
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
