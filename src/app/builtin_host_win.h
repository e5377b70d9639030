// The built-ins' host over the real main window: window commands, timers and
// its place go to the window; boxes, sound, choosers, menus and the session go
// through SystemActions; saving and rebuilding the bar call back into the window.
#pragma once
#include <windows.h>

#include <functional>

#include "app/app_state.h"
#include "app/system_actions_win.h"
#include "command/builtin_host.h"

namespace vsmr {

class WindowBuiltinHost : public BuiltinHost {
 public:
  struct Callbacks {
    std::function<bool()> save;             // the save sequence, tray flag as 0
    std::function<void()> refresh_buttons;  // RefreshButtonBar over the window's bar
  };
  WindowBuiltinHost(AppState& state, SystemActions& system) : state_(state), system_(system) {}
  // Set once the main window exists.
  void Attach(HWND window, Callbacks callbacks);

  void CloseMainWindow() override;
  void SendWindowCommand(int id, int parameter) override;
  void RebuildButtonBar(int shown) override;
  bool SaveEverything() override;
  void PlaySoundFile(std::string_view path) override;
  int ShowMessageBox(std::string_view caption, std::string_view text, unsigned style) override;
  void SetTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;
  Point WindowPosition() override;
  void MoveWindow(int x, int y) override;
  Point PointerPosition() override;
  int ButtonClientX(int position) override;
  int LauncherBoxClientX() override { return kClockFaceWidth; }
  void ShowMenu(const CommandMenu& menu, Point at) override;
  std::string ChooseFile(std::string_view filters) override;
  void OpenFile(const std::string& path) override;
  // The command editor dialog, owned by the main window; a dialog that
  // cannot open counts as CANCEL.
  void EditCommand(CommandEntry& record) override;
  void StartMailCheck() override;
  void EndSession(unsigned flags) override;
  void Suspend() override;
  void Repaint() override;

 private:
  AppState& state_;
  SystemActions& system_;
  HWND window_ = nullptr;
  Callbacks callbacks_;
};

}  // namespace vsmr
