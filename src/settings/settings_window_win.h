// The main window as LoadSettings and SaveSettings see it, on Windows: its
// position, the work area, and the launcher box through the shell's callbacks.
#pragma once
#include <windows.h>

#include <functional>

#include "settings/settings_window_hooks.h"

namespace vsmr {

class MainWindowSettingsHooks : public SettingsWindowHooks {
 public:
  // `kept_open` answers whether the launcher box is open with KeepLauncherOpen
  // set; `item_shown` (may be empty) gives a shown launcher item its button.
  MainWindowSettingsHooks(HWND main_window, std::function<bool()> kept_open,
                          std::function<void(int)> item_shown = {});

  ScreenPoint WorkAreaRightBottom() override;
  void MoveMainWindow(ScreenPoint position) override;
  void SendWindowCommand(int command) override;
  ScreenPoint MainWindowPosition() override;
  bool LauncherBoxKeptOpen() override;
  void LauncherItemShown(int index) override;

 private:
  HWND window_;
  std::function<bool()> kept_open_;
  std::function<void(int)> item_shown_;
};

}  // namespace vsmr
