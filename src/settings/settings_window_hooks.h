// What loading and saving the settings need from the main window, so that
// both run without a window in tests and in the console tool.
#pragma once
#include <cstdint>

namespace vsmr {

// Window command that opens or closes the launcher box.
inline constexpr int kLauncherToggleCommand = 305;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

class SettingsWindowHooks {
 public:
  virtual ~SettingsWindowHooks() = default;

  // Right and bottom edges of the desktop work area; the mail window's
  // default rectangle is centred on their halves.
  virtual ScreenPoint WorkAreaRightBottom() = 0;
  // Moves the main window's top-left corner to `position` without changing
  // its size or z-order.
  virtual void MoveMainWindow(ScreenPoint position) = 0;
  // Sends the main window a window command (LoadSettings sends only
  // kLauncherToggleCommand, to open the launcher box).
  virtual void SendWindowCommand(int command) = 0;
  // Top-left corner of the main window's current rectangle.
  virtual ScreenPoint MainWindowPosition() = 0;
  // True when the launcher box is open and KeepLauncherOpen is set: the
  // next start is then to open the box again.
  virtual bool LauncherBoxKeptOpen() = 0;
  // Called during the start-up sequence for each item, in index order, whose
  // shown flag was set; the shell gives it the next button of the bar.
  virtual void LauncherItemShown(int /*index*/) {}
};

}  // namespace vsmr
