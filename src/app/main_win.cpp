// The program's entry: one copy per session (a second start hands its command
// line over and ends), the libraries, the main window and the message loop.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/delay_imports_win.h"
#include "app/main_window_win.h"
#include "app/startup_trace_win.h"
#include "command/command_list.h"

namespace vsmr {

namespace {

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// Sends the second start's command line to the running copy and waits until it
// has shown and run it. The text travels by WM_COPYDATA, which copies it into
// the receiving process.
void HandOff(const char* arguments) {
  if (!arguments || !*arguments) return;
  HWND running = FindWindowA(kInstanceName, nullptr);
  if (!running) return;
  COPYDATASTRUCT data{};
  data.dwData = IDM_HAND_OFF;
  data.cbData = static_cast<DWORD>(std::strlen(arguments) + 1);
  data.lpData = const_cast<char*>(arguments);
  SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

bool IsNtPlatform() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int RunMessageLoop(const MainWindow& window) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    HWND dialog = window.mail_window();
    if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int RunProgram(HINSTANCE instance, const char* arguments, int show) {
  TraceStartup("program entry");
  // The mutex is held, unreleased, for the life of the process.
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceName);
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    HandOff(arguments);
    return 0;
  }

  auto state = std::make_unique<AppState>();
  state->nt_platform = IsNtPlatform();
  std::string exe = ExecutablePath();
  state->files = ProgramFilesFor(exe);

  int code = 0;
  HMODULE rich_edit = nullptr;
  IMalloc* allocator = nullptr;
  bool ole = false;
  {
    auto window = std::make_unique<MainWindow>(instance, *state, nullptr);
    TraceStartup("main window object");
    if (MainWindow::RegisterWindowClass(instance) && (TraceStartup("window class"), window->Create())) {
      TraceStartup("window created");
      // In the notification area (as loaded during creation) the window starts hidden.
      ShowWindow(window->hwnd(), window->in_tray() ? SW_HIDE : show);
      TraceStartup("window shown");
      UpdateWindow(window->hwnd());
      // The libraries the first paint does not need come after it, still before the
      // message loop runs the rest of the start-up, which needs them.
      const bool loaded = LoadDelayedImports();
      if (!loaded) MessageBoxA(nullptr, "ライブラリロード失敗", "ERROR", MB_OK);
      TraceStartup("delayed DLLs loaded (after the first paint)");
      ole = loaded && OleInitialize(nullptr) == S_OK;
      // Kept for the whole run: the completion lists hand out strings it allocates.
      if (ole && SHGetMalloc(&allocator) != E_FAIL) {
        window->UseShellAllocator(allocator);
        TraceStartup("OLE initialised, shell allocator");
        // The mail window's text view: only a window opened from the message loop needs it.
        rich_edit = LoadLibraryA("RichEd32.Dll");
        if (!rich_edit) MessageBoxA(nullptr, "ライブラリロード失敗", "ERROR", MB_OK);
        TraceStartup("Rich Edit loaded");
        code = RunMessageLoop(*window);
      } else {
        DestroyWindow(window->hwnd());
      }
      if (HWND dialog = window->mail_window(); dialog && IsWindow(dialog)) {
        DestroyWindow(dialog);
      }
      // A mail worker that outlived its wait still uses the state's hand-off
      // (closed, so it only returns); the process ends right after this.
      if (window->mail_job_running()) (void)state.release();
    }
  }

  if (rich_edit && !FreeLibrary(rich_edit)) {
    MessageBoxA(nullptr, "ライブラリ開放失敗", "ERROR", MB_OK);
  }
  if (allocator) allocator->Release();
  if (ole) OleUninitialize();
  return code;
}

}  // namespace vsmr

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int show) {
  return vsmr::RunProgram(instance, arguments, show);
}
