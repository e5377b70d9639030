// The main window's life: class, creation sequence, window commands, the
// clock tick, the hand-off from a second start, closing with the save sequence.
#include "app/main_window_win.h"

#include <commctrl.h>

#include <string>

#include "app/hot_key.h"
#include "app/startup_trace_win.h"
#include "app/tooltip_win.h"
#include "app/version_dialog_win.h"

namespace vsmr {

namespace {

constexpr int kClockTickMs = 1000;
// Posted by OnCreate: the rest of the start-up, after the first paint.
constexpr UINT kFinishStartUpMessage = WM_APP + 2;
static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT);

class SystemClock final : public LocalClock {
 public:
  LocalTime Now() const override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  }
};
const SystemClock kSystemClock;

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, AppState& state, IMalloc* allocator,
                       MainWindowSeams seams)
    : instance_(instance),
      state_(state),
      allocator_(allocator),
      own_system_(seams.system ? nullptr
                               : std::make_unique<WindowsSystemActions>(state.file_chooser,
                                                                        state.nt_platform)),
      system_(seams.system ? *seams.system : *own_system_),
      tray_(instance, state),
      settings_sequence_(instance, state, system_, tray_),
      builtin_host_(state, system_),
      builtins_(BuiltinState{state.settings, state.keep_launcher_open, state.shutdown_active,
                             state.menu_slots},
                builtin_host_),
      interpreter_{state.commands, state.status, shell_,
                   seams.builtins ? *seams.builtins : builtins_},
      mail_jobs_(instance, state,
                 [this](const MarkedLine& line, int context) { return RunTopLevel(line, context); },
                 seams.pop_port),
      clock_(seams.clock ? *seams.clock : kSystemClock) {}

bool MainWindow::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &WindowProcedure<MainWindow>::Procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = kInstanceName;
  return RegisterClassExA(&wc) != 0;
}

bool MainWindow::Create() {
  HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kInstanceName, kInstanceName, WS_POPUP,
                              CW_USEDEFAULT, CW_USEDEFAULT, 88, kStripHeight, nullptr, nullptr,
                              instance_, this);
  return hwnd != nullptr;
}

LRESULT MainWindow::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) hwnd_ = hwnd;
  if (!started_) {
    switch (msg) {
      // Whatever the user or another start asks comes after the start-up.
      case WM_COMMAND:
      case WM_COPYDATA:
      case kRunCallsMessage:
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_DROPFILES:
      case WM_HOTKEY:
        FinishStartUp();
        break;
      default:
        break;
    }
  }
  switch (msg) {
    case WM_CREATE:
      return OnCreate();
    case kFinishStartUpMessage:
      FinishStartUp();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the clock face covers the window; nothing to erase
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), lp);
      return 0;
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp)) ? TRUE : FALSE;
    case kTrayCallbackMessage:
      tray_.OnCallback(wp, lp);
      return 0;
    case kRunCallsMessage:
      RunHandedOff();
      return 0;
    case WM_HOTKEY:
      OnHotKey(static_cast<int>(wp));
      return 0;
    case WM_NCHITTEST:
      return OnHitTest(wp, lp);
    case WM_ENTERSIZEMOVE:
      OnEnterMove();
      return 0;
    case WM_MOVING:
      OnMoving(reinterpret_cast<RECT*>(lp));
      return TRUE;
    case WM_LBUTTONDOWN:
      OnLeftDown(Point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_RBUTTONDOWN:
      OnRightDown(Point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wp));
      return 0;
    default:
      return DefWindowProcA(hwnd_, msg, wp, lp);
  }
}

LRESULT MainWindow::OnCreate() {
  TraceStartup("WM_CREATE");
  ApplyWidth();
  if (!SetTimer(hwnd_, IDT_CLOCK, kClockTickMs, nullptr)) {
    MessageBoxA(hwnd_, "タイマーの生成に失敗しました", "ERROR", MB_OK | MB_ICONERROR);
  }
  TraceStartup("width and clock timer");
  CreateSmallButtons();
  TraceStartup("small buttons");
  // Topmost before the tool tips exist as well as once they do: Wine leaves the
  // topmost style off a window that already owns topmost tool tips.
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  AttachBuiltinHost();
  mail_jobs_.Attach(hwnd_);
  tray_.Attach(hwnd_);
  settings_sequence_.Attach(hwnd_);
  TraceStartup("topmost");
  settings_sequence_.Load();
  TraceStartup("settings and command list read");
  settings_sequence_.ApplyLoaded();
  CheckSkinPresent();
  // Processed after the first paint, which UpdateWindow makes before the message loop.
  PostMessageA(hwnd_, kFinishStartUpMessage, 0, 0);
  TraceStartup("settings applied, skin checked");
  return 0;
}

void MainWindow::FinishStartUp() {
  if (started_) return;
  started_ = true;
  CreateTooltips();
  bar_host_ = std::make_unique<WindowButtonBarHost>(instance_, hwnd_, tooltip_,
                                                    [this] {
                                                      if (!building_bar_) ApplyWidth();
                                                    });
  main_menu_.Reset(LoadMenuA(instance_, "MPOPUPMENU"));
  tray_.LoadMenuAndIcons();
  // The buttons come before the launcher box: opening it runs `_oncmdopn`,
  // which may show or hide items.
  BuildButtons();
  TraceStartup("tool tips, menus, icons and launcher buttons (after the first paint)");
  tray_.StartUp([this] {
    if (state_.settings.command_line_launcher != 0) OpenLauncher();
  });
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&icc);
  RegisterHotKeyFromSettings();  // at start-up a failure is silent
  DragAcceptFiles(hwnd_, TRUE);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ArmMailTimerIfConfigured(5000);
  RunEvent(Event::kStartup);
  TraceStartup("launcher box, hot key and _startup");
  EndStartupTrace();
}

void MainWindow::CreateSmallButtons() {
  int x = state_.layout.SmallButtonX();
  close_button_ = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, 0,
                                  kSmallButtonWidth, kCloseButtonHeight, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDM_CLOSE)),
                                  instance_, nullptr);
  tray_button_ = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x,
                                 kCloseButtonHeight, kSmallButtonWidth, kTrayButtonHeight, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDM_TRAY_TOGGLE)),
                                 instance_, nullptr);
}

void MainWindow::CreateTooltips() {
  tooltip_ = CreateTooltipControl(hwnd_, instance_);
  RegisterTip(tooltip_, hwnd_, tray_button_, "タスクにいれる");
  RegisterTip(tooltip_, hwnd_, close_button_, "閉じる");
}

void MainWindow::OnClose() {
  RunEvent(Event::kClose);
  // A running check ends first (within TimeOut + 1 s), so the save sees its state.
  mail_jobs_.StopForExit();
  settings_sequence_.Save();
  tray_.Close();
  KillTimer(hwnd_, IDT_CLOCK);
  launcher_.Close();
  main_menu_.Reset();
  DestroyWindow(hwnd_);
}

void MainWindow::OnDestroy() {
  // Also reached without WM_CLOSE (the system ending the session, tests): the
  // box must not outlive its parent's handles.
  launcher_.Close();
  UnregisterHotKey(hwnd_, ID_HOT_KEY);
  // No window takes handed-over calls any more; a mail job stops.
  mail_jobs_.StopForExit();
  PostQuitMessage(0);
}

void MainWindow::OnCommand(int id, LPARAM lp) {
  switch (id) {
    case IDM_CLOSE:
      SendMessageA(hwnd_, WM_CLOSE, 0, 0);
      return;
    case IDM_LAUNCHER_TOGGLE:
      ToggleLauncher();
      return;
    case IDM_LAUNCHER_ENTER:
      EnterLauncherLine();
      return;
    case IDM_TRAY_TOGGLE:
      tray_.Toggle();
      return;
    case IDM_LEAVE_TRAY:
      tray_.Leave();
      return;
    case IDM_VERSION:
      ShowVersionDialog(instance_, hwnd_);
      return;
    case IDM_OPTIONS:
      settings_sequence_.ShowOptions(allocator_, [this](const OptionsEffects& effects) {
        FollowOptions(effects);
      });
      return;
    case IDM_MAIL_CHECK:
      mail_jobs_.Start(kMailJobManualCheck);
      // The lock refuses the check and leaves the window where it is.
      if (!state_.LeaveRoomMode()) mail_jobs_.ShowWindow();
      return;
    default:
      if (IsMenuCommand(id)) {
        RunMenuChoice(id, state_.menu_slots, interpreter_, hwnd_);
        return;
      }
      // The launcher buttons' commands; ids without a handler are ignored.
      OnButtonCommand(id, lp);
      return;
  }
}

bool MainWindow::OnCopyData(const COPYDATASTRUCT* data) {
  if (!data || data->dwData != IDM_HAND_OFF) return false;
  // The text arrives with its terminator; never trust that it does.
  const char* bytes = static_cast<const char*>(data->lpData);
  std::string text;
  if (bytes && data->cbData > 0) text.assign(bytes, strnlen(bytes, data->cbData));
  MessageBoxA(hwnd_, text.c_str(), "OK", MB_OK);
  RunTopLevel(text, kContextSecondStart);
  return true;
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id == IDT_HAND_OFF) {
    RunHandedOff();
    return;
  }
  if (id == IDT_AUTO_MAIL) {
    OnMailTimer();
    return;
  }
  if (id == IDT_SHUTDOWN) {
    OnShutdownTimer();
    return;
  }
  if (id != IDT_CLOCK) return;
  RECT face{0, 0, kClockFaceWidth, kStripHeight};
  InvalidateRect(hwnd_, &face, FALSE);
  RunDueTimers(state_.settings.timers, timer_firings_, clock_.Now(), [this](int i) {
    // A copy: the run may change the table (through the options dialog).
    std::string command(state_.settings.timers[i].command.View());
    RunTopLevel(command, kContextTimer);
  });
}

void MainWindow::RunHandedOff() {
  // A slice at a time: a check that hands over a thousand rows must not keep
  // the clock from ticking. The rest follows on a timer, which ranks below
  // paints, so the strip repaints between slices.
  constexpr DWORD kSliceMs = 50;
  constexpr UINT kPauseMs = 10;
  KillTimer(hwnd_, IDT_HAND_OFF);
  const DWORD start = GetTickCount();
  const bool more =
      state_.hand_off.RunQueuedUntil([start] { return GetTickCount() - start >= kSliceMs; });
  if (more) SetTimer(hwnd_, IDT_HAND_OFF, kPauseMs, nullptr);
}

void MainWindow::OnHotKey(int id) {
  if (id != ID_HOT_KEY) return;
  SetForegroundWindow(hwnd_);
  ToggleLauncher();
}

void MainWindow::OnMailTimer() { mail_jobs_.OnAutoTimer(); }

void MainWindow::ApplyWidth() {
  int width = state_.layout.Width();
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(hwnd_, &wp);
  MoveWindow(hwnd_, wp.rcNormalPosition.left, wp.rcNormalPosition.top, width, kStripHeight,
             TRUE);
  SetWindowRgn(hwnd_, CreateRectRgn(0, 0, width, kStripHeight), TRUE);  // the window owns it
  MoveSmallButtons();
}

void MainWindow::MoveSmallButtons() {
  int x = state_.layout.SmallButtonX();
  if (close_button_) {
    SetWindowPos(close_button_, nullptr, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  if (tray_button_) {
    SetWindowPos(tray_button_, nullptr, x, kCloseButtonHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
}

bool MainWindow::RegisterHotKeyFromSettings() {
  // Both keys use the one id: the old one goes before the new one comes.
  UnregisterHotKey(hwnd_, ID_HOT_KEY);
  if (state_.settings.hot_key == 0) return true;
  HotKeyBinding b = MapHotKey(state_.settings.hot_key);
  return RegisterHotKey(hwnd_, ID_HOT_KEY, b.modifiers, b.virtual_key) != FALSE;
}

}  // namespace vsmr
