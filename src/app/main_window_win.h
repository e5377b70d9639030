// The clock strip's window: owns the shell's child controls and handles, and
// turns every message into a short OnXxx handler.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <memory>

#include "app/app_state.h"
#include "app/builtin_host_win.h"
#include "app/button_bar_host_win.h"
#include "app/launcher_box_win.h"
#include "app/call_hand_off_win.h"
#include "app/instance_name.h"
#include "app/mail_job_win.h"
#include "app/paint_cache_win.h"
#include "app/settings_sequence_win.h"
#include "app/system_actions_win.h"
#include "app/tray_icon_win.h"
#include "base/gdi_handles_win.h"
#include "base/resource_ids.h"
#include "base/window_procedure_win.h"
#include "command/builtins.h"
#include "command/events.h"
#include "command/interpreter.h"
#include "command/shell.h"
#include "command/timer_check.h"
#include "dialogs/options_dialog_win.h"

namespace vsmr {

// What tests put in place of the platform; null members mean the real ones.
struct MainWindowSeams {
  const LocalClock* clock = nullptr;  // read by the clock tick for the command timers
  BuiltinRunner* builtins = nullptr;  // the built-in commands of every run
  SystemActions* system = nullptr;    // the built-ins' boxes, menus, sound, session calls
  std::uint16_t pop_port = 0;         // the mail servers' port; 0: each account's own
};

class MainWindow {
 public:
  // `allocator` is the shell allocator, kept for the whole run by the entry; the entry
  // gives it through UseShellAllocator once the first paint is on screen.
  MainWindow(HINSTANCE instance, AppState& state, IMalloc* allocator, MainWindowSeams seams = {});
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  static bool RegisterWindowClass(HINSTANCE instance);
  // Creates the window; its creation handler builds everything else.
  bool Create();
  HWND hwnd() const { return hwnd_; }
  void UseShellAllocator(IMalloc* allocator) { allocator_ = allocator; }
  // The modeless mail window while it exists (else null): the message loop
  // offers it every message first.
  HWND mail_window() const { return mail_jobs_.WindowHandle(); }
  // A mail job's worker that did not end when the program closed.
  bool mail_job_running() const { return mail_jobs_.Running(); }
  // The program lives in the notification area (the window stays hidden).
  bool in_tray() const { return tray_.active(); }

 private:
  friend struct WindowProcedure<MainWindow>;
  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  // Creation and closing.
  LRESULT OnCreate();
  // What the first paint of the clock face does not need: tool tips, menus and
  // icons, the launcher buttons, the launcher box, the notification icon, the
  // hot key, drops and `_startup`. Posted by OnCreate; run at the latest when
  // input or a handed-over call arrives first.
  void FinishStartUp();
  void OnClose();
  void OnDestroy();
  void CreateSmallButtons();
  void CreateTooltips();

  // Window commands and events.
  void OnCommand(int id, LPARAM lp);
  bool OnCopyData(const COPYDATASTRUCT* data);
  void OnTimer(UINT_PTR id);
  void OnMailTimer();
  void OnHotKey(int id);
  void RunHandedOff();  // the calls other threads handed over
  int RunEvent(Event event) { return vsmr::RunEvent(interpreter_, hwnd_, event); }
  int RunTopLevel(const MarkedLine& line, int context) {
    return vsmr::RunTopLevel(interpreter_, hwnd_, line, context);
  }
  int RunTopLevel(std::string_view line, int context) {
    return vsmr::RunTopLevel(interpreter_, hwnd_, line, context);
  }

  // The built-ins' host and the command menus' choices (main_window_builtins_win.cpp).
  void AttachBuiltinHost();
  void OnShutdownTimer();

  // The launcher box (main_window_launcher_win.cpp).
  void ToggleLauncher();
  void OpenLauncher();
  void CloseLauncher();
  void EnterLauncherLine();
  void CheckLauncherMenuItem(bool checked);

  // The launcher buttons (main_window_buttons_win.cpp).
  void BuildButtons();
  void OnButtonCommand(int id, LPARAM lp);
  void DrawLauncherButton(const DRAWITEMSTRUCT* item);
  void DropOnButtons(int client_x, std::string_view drop_list);
  // Only the launcher box moves the first button; appended buttons are created in place.
  void MoveLauncherButtons();
  void ArmMailTimerIfConfigured(int delay_ms);

  // The window following the options just put into the settings (main_window_options_win.cpp).
  void FollowOptions(const OptionsEffects& effects);

  // Geometry.
  void ApplyWidth();
  void MoveSmallButtons();
  // False when the key of the settings could not be registered.
  bool RegisterHotKeyFromSettings();

  // Painting (main_window_paint_win.cpp).
  void OnPaint();
  void OnDrawItem(const DRAWITEMSTRUCT* item);
  HBITMAP Skin();  // owned by skin_cache_
  void CheckSkinPresent();

  // Mouse, moving and drops (main_window_input_win.cpp).
  LRESULT OnHitTest(WPARAM wp, LPARAM lp);
  void OnEnterMove();
  void OnMoving(RECT* proposed);
  void OnLeftDown(Point client);
  void OnRightDown(Point client);
  void OnDropFiles(HDROP drop);
  void PutOnClipboard(std::string_view text);
  void ShowMainMenu(Point client);

  HINSTANCE instance_;
  AppState& state_;
  IMalloc* allocator_;
  HWND hwnd_ = nullptr;
  HWND close_button_ = nullptr;
  HWND tray_button_ = nullptr;
  HWND tooltip_ = nullptr;
  MenuHandle main_menu_;
  WindowsShell shell_;
  std::unique_ptr<SystemActions> own_system_;  // the real calls, unless a stand-in was given
  SystemActions& system_;
  TrayIcon tray_;
  SettingsSequence settings_sequence_;
  WindowBuiltinHost builtin_host_;
  Builtins builtins_;
  Interpreter interpreter_;
  MailJobs mail_jobs_;
  const LocalClock& clock_;
  TimerFirings<kCommandTimerCount> timer_firings_;
  LauncherBox launcher_;
  std::unique_ptr<WindowButtonBarHost> bar_host_;  // made once the tool tips exist
  SkinCache skin_cache_;
  ButtonIconCache icon_cache_;
  bool building_bar_ = false;  // the bar is being built: one resize at the end
  bool started_ = false;       // FinishStartUp has run
};

}  // namespace vsmr
