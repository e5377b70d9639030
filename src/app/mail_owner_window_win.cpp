// The mail window's hidden owner: a plain overlapped tool window of its own class.
#include "app/mail_owner_window_win.h"

namespace vsmr {

namespace {

LRESULT CALLBACK MailOwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterMailOwnerClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &MailOwnerProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kMailOwnerClassName;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HWND CreateMailOwnerWindow(HINSTANCE instance) {
  static const bool registered = RegisterMailOwnerClass(instance);
  if (!registered) return nullptr;
  return CreateWindowExA(WS_EX_TOOLWINDOW, kMailOwnerClassName, "", WS_OVERLAPPED, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                         nullptr);
}

}  // namespace vsmr
