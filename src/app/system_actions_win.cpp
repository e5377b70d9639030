// WindowsSystemActions: the real calls behind SystemActions.
#include "app/system_actions_win.h"

#include <mmsystem.h>

namespace vsmr {
namespace {

// Failures are not reported: the request that follows then fails as well.
void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  }
  CloseHandle(token);
}

}  // namespace

int WindowsSystemActions::ShowMessageBox(HWND owner, const char* text, const char* caption,
                                     UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

void WindowsSystemActions::PlaySoundFile(const char* path) {
  PlaySoundA(path, nullptr, SND_ASYNC | SND_NODEFAULT);
}

std::string WindowsSystemActions::ChooseFile(HWND owner, const char* filters) {
  char path[kChooserPathBuffer] = {};
  if (!vsmr::ChooseFile(owner, path, sizeof path, filters, chooser_)) return {};
  return path;
}

void WindowsSystemActions::TrackMenu(HMENU menu, int x, int y, HWND owner) {
  // The owner must be in the foreground, or a click elsewhere leaves the menu open.
  SetForegroundWindow(owner);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, owner, nullptr);
  PostMessageA(owner, WM_NULL, 0, 0);
}

void WindowsSystemActions::EndSession(UINT flags) {
  if (nt_platform_) EnableShutdownPrivilege();
  ExitWindowsEx(flags, 0);
}

void WindowsSystemActions::Suspend() {
  if (!nt_platform_) {
    SetSystemPowerState(TRUE, TRUE);
    return;
  }
  EnableShutdownPrivilege();
  using SuspendCall = BOOLEAN(WINAPI*)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN no_wake);
  HMODULE library = LoadLibraryA("powrprof.dll");
  if (!library) return;
  auto call = reinterpret_cast<SuspendCall>(
      reinterpret_cast<void*>(GetProcAddress(library, "SetSuspendState")));
  if (call) call(FALSE, TRUE, FALSE);
  FreeLibrary(library);
}

}  // namespace vsmr
