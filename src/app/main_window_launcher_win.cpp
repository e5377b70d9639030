// Opening, closing and entering lines in the launcher box, as the main window
// sees it: width, menu check, focus, history and the box's event commands.
#include "app/completion_list.h"
#include "app/main_window_win.h"

namespace vsmr {

void MainWindow::ToggleLauncher() {
  if (state_.layout.launcher_open) {
    CloseLauncher();
  } else {
    OpenLauncher();
  }
}

void MainWindow::OpenLauncher() {
  int length = state_.settings.command_line_launcher_length;
  if (tray_.active()) ShowWindow(hwnd_, SW_SHOW);
  state_.layout.launcher_open = true;
  state_.layout.opened_length = length;
  ApplyWidth();
  MoveLauncherButtons();

  LauncherBoxOptions options;
  options.width = length - 1;
  options.font_face = state_.settings.command_launcher_cmb_bx_font.View();
  options.history = &state_.history;
  options.password_echo = state_.LeaveRoomMode();
  if (!state_.LeaveRoomMode()) {
    options.completion = BuildCompletionList(state_.commands, state_.history);
  }
  options.allocator = allocator_;
  options.keep_open = &state_.keep_launcher_open;
  launcher_.Open(hwnd_, instance_, std::move(options));

  CheckLauncherMenuItem(true);
  if (launcher_.combo()) SetFocus(launcher_.combo());
  RunEvent(Event::kLauncherOpened);
}

void MainWindow::CloseLauncher() {
  if (tray_.active()) ShowWindow(hwnd_, SW_HIDE);
  state_.layout.launcher_open = false;
  launcher_.Close();
  ApplyWidth();
  MoveLauncherButtons();
  CheckLauncherMenuItem(false);
  RunEvent(Event::kLauncherClosed);
}

void MainWindow::CheckLauncherMenuItem(bool checked) {
  if (!main_menu_.get()) return;
  CheckMenuItem(GetSubMenu(main_menu_.get(), 0), IDM_LAUNCHER_TOGGLE,
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::EnterLauncherLine() {
  std::string line = launcher_.TakeText();
  if (line.empty()) return;
  if (state_.LeaveRoomMode()) {
    // The line is the password attempt: never run, never kept in the history.
    EnterLockedLine(line, state_.settings, interpreter_, hwnd_, *bar_host_);
    return;
  }
  RunTopLevel(line, kContextLauncher);
  state_.history.Enter(line);
}

}  // namespace vsmr
