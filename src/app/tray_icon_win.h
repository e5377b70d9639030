// The notification-area mode of the main window: whether the program lives
// there, its icon, the icon's callback and the notification menu. This object
// is the only one that changes the mode.
#pragma once
#include <windows.h>

#include <functional>

#include "app/app_state.h"
#include "base/gdi_handles_win.h"

namespace vsmr {

// The notification-area icon's callback message (wParam ID_TRAY_ICON, lParam the mouse message).
inline constexpr UINT kTrayCallbackMessage = WM_USER;

class TrayIcon {
 public:
  // `state` is read for the leave-room lock, which changes the icon and refuses the menu.
  TrayIcon(HINSTANCE instance, const AppState& state) : instance_(instance), state_(state) {}
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The window that owns the icon and is hidden while the mode is on.
  void Attach(HWND owner) { owner_ = owner; }
  // True while the program lives in the notification area.
  bool active() const { return active_; }

  // The mode the settings file holds, taken before the window is first shown
  // (the entry shows it only when the mode is off); the icon follows at StartUp.
  void Restore(bool active) { active_ = active; }
  // Loads the notification menu and the icons (after the first paint).
  void LoadMenuAndIcons();
  // Runs `open_launcher` as though the mode were off (a window that starts
  // hidden in the notification area stays hidden while the box opens), then
  // adds the icon when the mode is on.
  void StartUp(const std::function<void()>& open_launcher);

  void Toggle();
  // Shows the window again and removes the icon; nothing when the mode is off.
  void Leave();
  void OnCallback(WPARAM id, LPARAM mouse);
  // The window is closing: the icon goes, and the menu with it.
  void Close();

 private:
  void Enter();
  void AddIcon();
  void DeleteIcon();
  void ShowMenu();

  HINSTANCE instance_;
  const AppState& state_;
  HWND owner_ = nullptr;
  bool active_ = false;
  MenuHandle menu_;
  IconHandle small_icon_;
  IconHandle lock_icon_;
};

}  // namespace vsmr
