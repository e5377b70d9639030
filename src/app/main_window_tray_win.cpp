// The notification-area mode: its icon and callback, the notification menu,
// and the version dialog both menus open.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "app/main_window_win.h"

namespace vsmr {

namespace {

INT_PTR CALLBACK VersionDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_VERSION_LINE, kInstanceName);
      return TRUE;
    case WM_COMMAND:
      // Only OK (also Enter) closes the box; Escape arrives as IDCANCEL and is swallowed.
      if (LOWORD(wp) == IDOK) EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

NOTIFYICONDATAA TrayIconRecord(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = ID_TRAY_ICON;
  return data;
}

}  // namespace

void MainWindow::ToggleTray() {
  if (state_.in_tray) {
    LeaveTray();
  } else {
    EnterTray();
  }
}

void MainWindow::EnterTray() {
  AddTrayIcon();
  ShowWindow(hwnd_, SW_HIDE);
  UpdateWindow(hwnd_);
  state_.in_tray = true;
}

void MainWindow::LeaveTray() {
  state_.in_tray = false;
  DeleteTrayIcon();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
}

void MainWindow::AddTrayIcon() {
  NOTIFYICONDATAA data = TrayIconRecord(hwnd_);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  // The icon tells the lock state at the moment it is added; it is never modified.
  data.hIcon = state_.LeaveRoomMode() ? lock_icon_.get() : small_icon_.get();
  static_assert(sizeof kInstanceName <= sizeof data.szTip);
  std::memcpy(data.szTip, kInstanceName, sizeof kInstanceName);
  Shell_NotifyIconA(NIM_ADD, &data);  // failures are ignored: the mode follows the command
}

void MainWindow::DeleteTrayIcon() {
  NOTIFYICONDATAA data = TrayIconRecord(hwnd_);
  Shell_NotifyIconA(NIM_DELETE, &data);
}

void MainWindow::OnTrayCallback(WPARAM id, LPARAM mouse) {
  if (id != ID_TRAY_ICON) return;
  switch (static_cast<UINT>(mouse)) {
    case WM_LBUTTONDBLCLK:
      if (state_.in_tray) LeaveTray();
      return;
    case WM_RBUTTONDOWN:
      if (!state_.LeaveRoomMode()) ShowTrayMenu();  // the lock refuses the menu
      return;
    default:
      return;
  }
}

void MainWindow::ShowTrayMenu() {
  if (!tray_menu_.get()) return;
  POINT p;
  GetCursorPos(&p);
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(GetSubMenu(tray_menu_.get(), 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN, p.x, p.y, 0,
                 hwnd_, nullptr);
}

void MainWindow::ShowVersionDialog() {
  DialogBoxParamA(instance_, "VERSIONDLG", hwnd_, VersionDialogProc, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace vsmr
