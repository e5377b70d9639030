// WindowBuiltinHost: the built-ins' effects on the real main window.
#include "app/builtin_host_win.h"

#include <shellapi.h>

#include <string>

#include "app/button_bar.h"
#include "app/main_window_win.h"
#include "command/command_menu.h"
#include "dialogs/item_editors_win.h"

namespace vsmr {

static_assert(kBoxOk == MB_OK && kBoxYesNo == MB_YESNO && kBoxIconError == MB_ICONERROR &&
              kBoxIconQuestion == MB_ICONQUESTION && kBoxIconWarning == MB_ICONWARNING);
static_assert(kAnswerOk == IDOK && kAnswerCancel == IDCANCEL && kAnswerYes == IDYES &&
              kAnswerNo == IDNO);
static_assert(kEndShutdown == EWX_SHUTDOWN && kEndReboot == EWX_REBOOT && kEndForce == EWX_FORCE);

namespace {

void InsertEntry(HMENU menu, UINT position, UINT id, const std::string& label, HMENU submenu) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | (submenu ? MIIM_SUBMENU : 0);
  info.fType = MFT_STRING;
  info.wID = id;
  info.hSubMenu = submenu;
  info.dwTypeData = const_cast<char*>(label.c_str());
  InsertMenuItemA(menu, position, TRUE, &info);
}

void InsertSeparator(HMENU menu, UINT position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  info.fType = MFT_SEPARATOR;
  InsertMenuItemA(menu, position, TRUE, &info);
}

}  // namespace

void WindowBuiltinHost::Attach(HWND window, Callbacks callbacks) {
  window_ = window;
  callbacks_ = std::move(callbacks);
}

void WindowBuiltinHost::CloseMainWindow() { SendMessageA(window_, WM_CLOSE, 0, 0); }

void WindowBuiltinHost::SendWindowCommand(int id, int parameter) {
  SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), static_cast<LPARAM>(parameter));
}

void WindowBuiltinHost::RebuildButtonBar(int) {
  if (callbacks_.refresh_buttons) callbacks_.refresh_buttons();
}

bool WindowBuiltinHost::SaveEverything() { return !callbacks_.save || callbacks_.save(); }

void WindowBuiltinHost::PlaySoundFile(std::string_view path) {
  system_.PlaySoundFile(std::string(path).c_str());
}

int WindowBuiltinHost::ShowMessageBox(std::string_view caption, std::string_view text,
                                  unsigned style) {
  return system_.ShowMessageBox(window_, std::string(text).c_str(), std::string(caption).c_str(),
                            style);
}

void WindowBuiltinHost::SetTimer(int id, int milliseconds) {
  ::SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}

void WindowBuiltinHost::KillTimer(int id) { ::KillTimer(window_, static_cast<UINT_PTR>(id)); }

Point WindowBuiltinHost::WindowPosition() {
  RECT rect{0, 0, 0, 0};
  GetWindowRect(window_, &rect);
  return {rect.left, rect.top};
}

void WindowBuiltinHost::MoveWindow(int x, int y) {
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Point WindowBuiltinHost::PointerPosition() {
  POINT at{0, 0};
  GetCursorPos(&at);
  return {at.x, at.y};
}

int WindowBuiltinHost::ButtonClientX(int position) { return state_.layout.ButtonX(position); }

void WindowBuiltinHost::ShowMenu(const CommandMenu& menu, Point at) {
  HMENU popup = CreatePopupMenu();
  if (!popup) return;
  for (int i = 0; i < menu.count; ++i) {
    const MenuEntry& e = menu.entries[i];
    const auto position = static_cast<UINT>(e.position);
    switch (e.kind) {
      case MenuEntry::Kind::kSeparator:
        InsertSeparator(popup, position);
        break;
      case MenuEntry::Kind::kSubmenu:
        if (HMENU sub = CreatePopupMenu()) {
          InsertEntry(sub, 0, static_cast<UINT>(e.inner_id), e.label, nullptr);
          InsertEntry(popup, position, static_cast<UINT>(e.id), e.label, sub);  // owns sub
        }
        break;
      case MenuEntry::Kind::kItem:
        InsertEntry(popup, position, static_cast<UINT>(e.id), e.label, nullptr);
        break;
    }
  }
  system_.TrackMenu(popup, at.x, at.y, window_);
  DestroyMenu(popup);
}

std::string WindowBuiltinHost::ChooseFile(std::string_view filters) {
  return system_.ChooseFile(window_, std::string(filters).c_str());
}

void WindowBuiltinHost::OpenFile(const std::string& path) {
  ShellExecuteA(window_, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void WindowBuiltinHost::EditCommand(CommandEntry& record) {
  const EditorContext context{
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE)), window_,
      &state_.file_chooser};
  if (RunCommandEditor(context, record) < 0) record.body.Clear();
}

void WindowBuiltinHost::StartMailCheck() { SendWindowCommand(IDM_MAIL_CHECK, 0); }

void WindowBuiltinHost::EndSession(unsigned flags) { system_.EndSession(flags); }

void WindowBuiltinHost::Suspend() { system_.Suspend(); }

void WindowBuiltinHost::Repaint() { InvalidateRect(window_, nullptr, FALSE); }

}  // namespace vsmr
