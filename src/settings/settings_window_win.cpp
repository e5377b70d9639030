// MainWindowSettingsHooks: SPI_GETWORKAREA, SetWindowPos, GetWindowRect and
// WM_COMMAND on the main window.
#include "settings/settings_window_win.h"

#include <utility>

namespace vsmr {

MainWindowSettingsHooks::MainWindowSettingsHooks(HWND main_window, std::function<bool()> kept_open,
                                                 std::function<void(int)> item_shown)
    : window_(main_window), kept_open_(std::move(kept_open)), item_shown_(std::move(item_shown)) {}

ScreenPoint MainWindowSettingsHooks::WorkAreaRightBottom() {
  RECT area{0, 0, 0, 0};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
    area.right = GetSystemMetrics(SM_CXSCREEN);
    area.bottom = GetSystemMetrics(SM_CYSCREEN);
  }
  return {area.right, area.bottom};
}

void MainWindowSettingsHooks::MoveMainWindow(ScreenPoint position) {
  SetWindowPos(window_, nullptr, position.x, position.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindowSettingsHooks::SendWindowCommand(int command) {
  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

ScreenPoint MainWindowSettingsHooks::MainWindowPosition() {
  RECT rect{0, 0, 0, 0};
  GetWindowRect(window_, &rect);
  return {rect.left, rect.top};
}

bool MainWindowSettingsHooks::LauncherBoxKeptOpen() { return kept_open_ && kept_open_(); }

void MainWindowSettingsHooks::LauncherItemShown(int index) {
  if (item_shown_) item_shown_(index);
}

}  // namespace vsmr
