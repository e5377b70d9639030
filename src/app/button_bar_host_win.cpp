// Win32 implementation of the button bar's and the lock's host (see
// button_bar_host_win.h).
#include "app/button_bar_host_win.h"

#include <string>

#include "app/tooltip_win.h"

namespace vsmr {

namespace {

INT_PTR CALLBACK DropChoiceProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg != WM_COMMAND) return FALSE;
  int id = LOWORD(wp);
  if (id == IDC_DROP_RUN || id == IDC_DROP_CHANGE || id == IDCANCEL) {
    EndDialog(dialog, id);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int RunDropChoiceDialog(HINSTANCE instance, HWND owner) {
  return static_cast<int>(DialogBoxParamA(instance, "SELEDROPDLG", owner, DropChoiceProc, 0));
}

WindowButtonBarHost::WindowButtonBarHost(HINSTANCE instance, HWND main, HWND tooltip,
                                         std::function<void()> apply_width)
    : instance_(instance), main_(main), tooltip_(tooltip), apply_width_(std::move(apply_width)) {}

void WindowButtonBarHost::ApplyWidth(int) {
  if (apply_width_) apply_width_();
}

WindowRef WindowButtonBarHost::CreateButton(int position, int x) {
  return CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, 0, kButtonSize,
                         kButtonSize, main_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDM_FIRST_BUTTON + position)),
                         instance_, nullptr);
}

void WindowButtonBarHost::DestroyButton(WindowRef button) {
  DestroyWindow(static_cast<HWND>(button));
}

void WindowButtonBarHost::RegisterTip(WindowRef button, std::string_view text) {
  if (tooltip_ == nullptr) return;
  std::string tip(text);  // the control wants a NUL-terminated text
  vsmr::RegisterTip(tooltip_, main_, static_cast<HWND>(button), tip.c_str());
}

void WindowButtonBarHost::RepaintButton(WindowRef button) {
  InvalidateRect(static_cast<HWND>(button), nullptr, FALSE);
}

int WindowButtonBarHost::AskDropChoice() {
  int id = RunDropChoiceDialog(instance_, main_);
  InvalidateRect(main_, nullptr, TRUE);
  return id;
}

bool WindowButtonBarHost::ConfirmItemChange(std::string_view question) {
  std::string text(question);
  return MessageBoxA(main_, text.c_str(), "変更確認", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void WindowButtonBarHost::ArmMailTimer(int delay_ms) {
  SetTimer(main_, IDT_AUTO_MAIL, static_cast<UINT>(delay_ms), nullptr);
}

}  // namespace vsmr
