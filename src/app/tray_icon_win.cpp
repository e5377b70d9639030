// The notification-area mode: entering and leaving it, its icon (added once,
// never modified) and the icon's callback with the notification menu.
#include "app/tray_icon_win.h"

#include <shellapi.h>

#include <cstring>

#include "app/instance_name.h"
#include "base/resource_ids.h"

namespace vsmr {

namespace {

NOTIFYICONDATAA TrayIconRecord(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = ID_TRAY_ICON;
  return data;
}

}  // namespace

void TrayIcon::LoadMenuAndIcons() {
  menu_.Reset(LoadMenuA(instance_, "RTRAYMENU"));
  small_icon_.Reset(static_cast<HICON>(
      LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP_SMALL), IMAGE_ICON, 16, 16, 0)));
  lock_icon_.Reset(static_cast<HICON>(
      LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP_LOCKED), IMAGE_ICON, 16, 16, 0)));
}

void TrayIcon::StartUp(const std::function<void()>& open_launcher) {
  const bool active = active_;
  active_ = false;
  open_launcher();
  active_ = active;
  if (active_) AddIcon();
}

void TrayIcon::Toggle() {
  if (active_) {
    Leave();
  } else {
    Enter();
  }
}

void TrayIcon::Enter() {
  AddIcon();
  ShowWindow(owner_, SW_HIDE);
  UpdateWindow(owner_);
  active_ = true;
}

void TrayIcon::Leave() {
  if (!active_) return;
  active_ = false;
  DeleteIcon();
  ShowWindow(owner_, SW_SHOWNORMAL);
}

void TrayIcon::Close() {
  if (active_) DeleteIcon();
  menu_.Reset();
}

void TrayIcon::AddIcon() {
  NOTIFYICONDATAA data = TrayIconRecord(owner_);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  // The icon tells the lock state at the moment it is added; it is never modified.
  data.hIcon = state_.LeaveRoomMode() ? lock_icon_.get() : small_icon_.get();
  static_assert(sizeof kInstanceName <= sizeof data.szTip);
  std::memcpy(data.szTip, kInstanceName, sizeof kInstanceName);
  Shell_NotifyIconA(NIM_ADD, &data);  // failures are ignored: the mode follows the command
}

void TrayIcon::DeleteIcon() {
  NOTIFYICONDATAA data = TrayIconRecord(owner_);
  Shell_NotifyIconA(NIM_DELETE, &data);
}

void TrayIcon::OnCallback(WPARAM id, LPARAM mouse) {
  if (id != ID_TRAY_ICON) return;
  switch (static_cast<UINT>(mouse)) {
    case WM_LBUTTONDBLCLK:
      Leave();
      return;
    case WM_RBUTTONDOWN:
      if (!state_.LeaveRoomMode()) ShowMenu();  // the lock refuses the menu
      return;
    default:
      return;
  }
}

void TrayIcon::ShowMenu() {
  if (!menu_.get()) return;
  POINT p;
  GetCursorPos(&p);
  SetForegroundWindow(owner_);
  TrackPopupMenu(GetSubMenu(menu_.get(), 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN, p.x, p.y, 0,
                 owner_, nullptr);
}

}  // namespace vsmr
